#include "runtime/natives.h"

#include "runtime/host_call.h"
#include "seam.h"

namespace {

// Input and sound.
constexpr uint64_t kGetControlValue = 0xD95E79E8686D2C27;
constexpr uint64_t kPlaySoundFrontend = 0x67C540AA08E4A6F5;

// The player and entities.
constexpr uint64_t kPlayerPedId = 0xD80958FC74E988A6;
constexpr uint64_t kGetEntityCoords = 0x3FEF770D40960D5A;
constexpr uint64_t kGetEntitySpeed = 0xD5037BA82E12416F;
constexpr uint64_t kGetEntityVelocity = 0x4805D2B1D8CF94A9;
constexpr uint64_t kDoesEntityExist = 0x7239B21A38F536BA;
constexpr uint64_t kGetEntityHeading = 0xE83D4F9BA2A38914;
constexpr uint64_t kGetVehiclePedIsUsing = 0x6094AD011A2EA87D;
constexpr uint64_t kIsVehicleDriveable = 0x4C241E39B23DF959;
constexpr uint64_t kHasEntityClearLosToEntity = 0xFCDFF7B72D23A1AC;
constexpr uint64_t kGetDistanceBetweenCoords = 0xF1B760881820C952;

// Moving entities.
constexpr uint64_t kSetEntityCoordsNoOffset = 0x239A3351AC1DA385;
constexpr uint64_t kSetEntityCoords = 0x06843DA7060A026B;
constexpr uint64_t kSetEntityHeading = 0x8E2530AA8ADA980E;
constexpr uint64_t kSetVehicleForwardSpeed = 0xAB54A438726D25D5;
constexpr uint64_t kSetVehicleOnGroundProperly = 0x49733E92263139D1;

// Models, creation and ownership.
constexpr uint64_t kGetHashKey = 0xD24D37CC275948CC;
constexpr uint64_t kRequestModel = 0x963D27A58DF860AC;
constexpr uint64_t kHasModelLoaded = 0x98A4EB5D89A0C952;
constexpr uint64_t kCreateVehicle = 0xAF35D0D2583051B0;
constexpr uint64_t kCreatePedInsideVehicle = 0x7DD959874C1FD534;
constexpr uint64_t kHelicopterSetup = 0x1C99BB7B6E96D16F;
constexpr uint64_t kControlLandingGear = 0xCFC8BE9A5E1FE575;
constexpr uint64_t kSetPedFleeAttributes = 0x70A2D1137C8ED7C9;
constexpr uint64_t kSetEntityInvincible = 0x3882114BDE571AD4;
constexpr uint64_t kSetEntityAsMissionEntity = 0xAD738C3085FE7E11;
constexpr uint64_t kSetPedHearingRange = 0x33A8F7F7D5F7F33C;
constexpr uint64_t kSetPedSeeingRange = 0xF29CF591C4BF6CEE;
constexpr uint64_t kSetEntityAsNoLongerNeeded = 0xB736A491E64A32CF;

// Pilots.
constexpr uint64_t kTaskHeliMission = 0xDAD029E187A2BEB4;

// Weapons, missiles, markers and forces.
constexpr uint64_t kRequestWeaponAsset = 0x5443438F033E29C3;
constexpr uint64_t kHasWeaponAssetLoaded = 0x36E353271F0E90EE;
constexpr uint64_t kShootSingleBulletBetweenCoords = 0x867654CBC7606F2C;
constexpr uint64_t kExplodeVehicle = 0xBA71116ADF5B514C;
constexpr uint64_t kDrawMarker = 0x28477EC23D892089;
constexpr uint64_t kApplyForceToEntity = 0xC5F68BE9613E2D18;
constexpr uint64_t kGetEntityModel = 0x9F47B058362C84B5;
constexpr uint64_t kGetModelDimensions = 0x03E8D3D5F549087A;
constexpr uint64_t kGetOffsetFromEntityInWorldCoords = 0x1899F328B0E12848;

// Death, control and the respawn.
constexpr uint64_t kIsEntityDead = 0x5F9532F3B5CC2551;
constexpr uint64_t kIsPlayerBeingArrested = 0x388A47C51ABDAC8E;
constexpr uint64_t kPlayerId = 0x4F8644AF03D0E0D6;
constexpr uint64_t kIsPlayerControlOn = 0x8A876A65283DD7D7;
constexpr uint64_t kSetPedIntoVehicle = 0xF75B0D629E1C063D;
constexpr uint64_t kSetVehicleEngineOn = 0x2497C4717C8B881E;
constexpr uint64_t kSetGameplayCamRelativeHeading = 0xB4EC2312F4E5B1F1;
constexpr uint64_t kSetGameplayCamRelativePitch = 0x6D0858B8EDFD2B7D;

// Camera, time and the screen.
constexpr uint64_t kSetGameplayCoordHint = 0xD51ADCD2D8BC0FB3;
constexpr uint64_t kSetGameplayHintFov = 0x513403FB9C56211F;
constexpr uint64_t kSetTimeScale = 0x1D408577D440E81E;
constexpr uint64_t kDoScreenFadeOut = 0x891B5B39AC6302AF;
constexpr uint64_t kDoScreenFadeIn = 0xD4E8E24955024033;

// Drawing.
constexpr uint64_t kDrawRect = 0x3A618A217E5154F0;

// Text.
constexpr uint64_t kSetTextFont = 0x66E0276CC5F6B9DA;
constexpr uint64_t kSetTextScale = 0x07C837F9A01C34C9;
constexpr uint64_t kSetTextColour = 0xBE6B23FFA53FB442;
constexpr uint64_t kSetTextWrap = 0x63145D9C883A1A70;
constexpr uint64_t kSetTextCentre = 0xC02F4DBFB51D988B;
constexpr uint64_t kSetTextDropShadow = 0x465C84BC39F1C351;
constexpr uint64_t kSetTextEdge = 0x441603240D202FA6;
constexpr uint64_t kBeginDisplayText = 0x25FBB336DF1804CB;
constexpr uint64_t kBeginFeedPost = 0x202709F4C58A0424;
constexpr uint64_t kAddTextComponentString = 0x6C188BE134E074AA;
constexpr uint64_t kEndDisplayText = 0xCD015E5BB0D96A57;
constexpr uint64_t kEndFeedPostTicker = 0x2ED7843F8F801023;

}  // namespace

int32_t padControlValue(int32_t inputGroup, int32_t control) {
    return intResult(callNative(kGetControlValue, inputGroup, control));
}

void playSoundFrontend(int32_t soundId, const char* soundName, const char* soundSet, bool p3) {
    callNative(kPlaySoundFrontend, soundId, soundName, soundSet, p3);
}

HostHandle playerPedHandle() { return intResult(callNative(kPlayerPedId)); }

Vector3 entityPosition(HostHandle entity) {
    return vectorResult(callNative(kGetEntityCoords, entity, false));
}

float entitySpeed(HostHandle entity) { return floatResult(callNative(kGetEntitySpeed, entity)); }

Vector3 entityVelocity(HostHandle entity) {
    return vectorResult(callNative(kGetEntityVelocity, entity));
}

bool entityExists(HostHandle entity) { return boolResult(callNative(kDoesEntityExist, entity)); }

float entityHeading(HostHandle entity) { return floatResult(callNative(kGetEntityHeading, entity)); }

HostHandle vehiclePedIsUsing(HostHandle ped) { return intResult(callNative(kGetVehiclePedIsUsing, ped)); }

bool vehicleDrivable(HostHandle vehicle) { return boolResult(callNative(kIsVehicleDriveable, vehicle, true)); }

bool hasClearLineOfSight(HostHandle from, HostHandle to) {
    return boolResult(callNative(kHasEntityClearLosToEntity, from, to, int32_t{17}));
}

float distanceBetween(const Vector3& from, const Vector3& to, bool withHeight) {
    return floatResult(callNative(kGetDistanceBetweenCoords, from.x, from.y, from.z, to.x, to.y, to.z, withHeight));
}

void placeEntityNoOffset(HostHandle entity, float x, float y, float z) {
    callNative(kSetEntityCoordsNoOffset, entity, x, y, z, false, false, false);
}

void placeEntity(HostHandle entity, float x, float y, float z, int32_t flag1, int32_t flag2, int32_t flag3,
                 int32_t flag4) {
    callNative(kSetEntityCoords, entity, x, y, z, flag1, flag2, flag3, flag4);
}

void setEntityHeading(HostHandle entity, float heading) { callNative(kSetEntityHeading, entity, heading); }

void setVehicleForwardSpeed(HostHandle vehicle, float speed) { callNative(kSetVehicleForwardSpeed, vehicle, speed); }

void setVehicleOnGround(HostHandle vehicle) { callNative(kSetVehicleOnGroundProperly, vehicle, 5.0f); }

HostHash hashOfName(const char* name) { return hashResult(callNative(kGetHashKey, name)); }

void requestModel(HostHash model) { callNative(kRequestModel, model); }

bool modelLoaded(HostHash model) { return boolResult(callNative(kHasModelLoaded, model)); }

HostHandle createVehicle(HostHash model, float x, float y, float z, float heading) {
    return intResult(callNative(kCreateVehicle, model, x, y, z, heading, true, true, false));
}

HostHandle createPedInVehicle(HostHandle vehicle, int32_t pedType, HostHash model, int32_t seat) {
    return intResult(callNative(kCreatePedInsideVehicle, vehicle, pedType, model, seat, true, true));
}

void setUpHelicopter(HostHandle helicopter) {
    callNative(kHelicopterSetup, helicopter, 0.0f, 0.0f, 3.0f);
}

void setLandingGear(HostHandle vehicle, int32_t state) { callNative(kControlLandingGear, vehicle, state); }

void setPedFleeAttributes(HostHandle ped, int32_t attributes, bool enable) {
    callNative(kSetPedFleeAttributes, ped, attributes, enable);
}

void setEntityInvincible(HostHandle entity, bool invincible) {
    callNative(kSetEntityInvincible, entity, invincible);
}

void makeMissionEntity(HostHandle entity) { callNative(kSetEntityAsMissionEntity, entity, true, true); }

void setPedHearingRange(HostHandle ped, float range) { callNative(kSetPedHearingRange, ped, range); }

void setPedSeeingRange(HostHandle ped, float range) { callNative(kSetPedSeeingRange, ped, range); }

void handEntityBack(HostHandle* entity) { callNative(kSetEntityAsNoLongerNeeded, entity); }

void giveHeliMission(HostHandle pilot, HostHandle helicopter, float x, float y, float z) {
    constexpr int32_t kNoTargetVehicle = 0;
    constexpr int32_t kNoTargetPed = 0;
    constexpr int32_t kMissionKind = 4;
    callNative(kTaskHeliMission, pilot, helicopter, kNoTargetVehicle, kNoTargetPed, x, y, z, kMissionKind, 80.0f,
               80.0f, 5.0f, int32_t{10}, int32_t{10}, 30.0f, int32_t{4096});
}

void requestWeaponAsset(HostHash weapon, int32_t flags, int32_t extraFlags) {
    callNative(kRequestWeaponAsset, weapon, flags, extraFlags);
}

bool weaponAssetLoaded(HostHash weapon) { return boolResult(callNative(kHasWeaponAssetLoaded, weapon)); }

void fireMissile(const Vector3& from, const Vector3& to, int32_t damage, HostHash weapon, HostHandle owner,
                 float speed) {
    constexpr int32_t kSwitchOn = 1;
    constexpr int32_t kAudible = 1;
    constexpr int32_t kVisible = 0;  // "invisible" off
    callNative(kShootSingleBulletBetweenCoords, from.x, from.y, from.z, to.x, to.y, to.z, damage, kSwitchOn, weapon,
               owner, kAudible, kVisible, speed);
}

void explodeVehicle(HostHandle vehicle) {
    constexpr int32_t kAudible = 1;
    constexpr int32_t kVisible = 0;  // "invisible" off: the wreck shot shows it
    callNative(kExplodeVehicle, vehicle, kAudible, kVisible);
}

void drawAimMarker(const Vector3& at) {
    constexpr int32_t kMarkerType = 2;
    constexpr int32_t kNoBobbing = 0;
    constexpr int32_t kFacesCamera = 1;
    constexpr int32_t kRotationOrder = 2;
    constexpr int32_t kNoRotation = 0;
    constexpr const char* kNoTexture = nullptr;
    constexpr int32_t kNotOnEntities = 0;
    callNative(kDrawMarker, kMarkerType, at.x, at.y, at.z, 0.0f, 0.0f, 0.0f, 180.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f,
               int32_t{100}, int32_t{200}, int32_t{100}, int32_t{200}, kNoBobbing, kFacesCamera, kRotationOrder,
               kNoRotation, kNoTexture, kNoTexture, kNotOnEntities);
}

void applyForce(HostHandle entity, int32_t forceType, float forceX, float forceY, float forceZ, float offsetX,
                float offsetY, float offsetZ) {
    constexpr int32_t kOn = 1;
    callNative(kApplyForceToEntity, entity, forceType, forceX, forceY, forceZ, offsetX, offsetY, offsetZ, kOn, kOn, kOn,
               kOn, kOn, kOn);
}

HostHash entityModel(HostHandle entity) { return hashResult(callNative(kGetEntityModel, entity)); }

void modelDimensions(HostHash model, Vector3* minimum, Vector3* maximum) {
    callNative(kGetModelDimensions, model, minimum, maximum);
}

Vector3 offsetInWorld(HostHandle entity, float x, float y, float z) {
    return vectorResult(callNative(kGetOffsetFromEntityInWorldCoords, entity, x, y, z));
}

bool entityDead(HostHandle entity) { return boolResult(callNative(kIsEntityDead, entity, false)); }

bool playerBeingArrested(int32_t player) { return boolResult(callNative(kIsPlayerBeingArrested, player, true)); }

int32_t playerIndex() { return intResult(callNative(kPlayerId)); }

bool playerControlOn(int32_t player) { return boolResult(callNative(kIsPlayerControlOn, player)); }

void putPedIntoVehicle(HostHandle ped, HostHandle vehicle, int32_t seat) {
    callNative(kSetPedIntoVehicle, ped, vehicle, seat);
}

void switchEngineOn(HostHandle vehicle) { callNative(kSetVehicleEngineOn, vehicle, true, true, false); }

void setCameraHeading(float heading) { callNative(kSetGameplayCamRelativeHeading, heading); }

void setCameraPitch(float pitch, float rate) { callNative(kSetGameplayCamRelativePitch, pitch, rate); }

void hintCameraAt(float x, float y, float z) {
    callNative(kSetGameplayCoordHint, x, y, z, int32_t{10}, int32_t{10}, int32_t{10}, int32_t{10});
}

void setCameraHintFov(float fov) { callNative(kSetGameplayHintFov, fov); }

void setTimeScale(float scale) {
    callNative(kSetTimeScale, scale);
    mod.hostEffects.timeScaleChanged = scale != 1.0f;
}

void fadeScreenOut(int32_t durationMs) {
    callNative(kDoScreenFadeOut, durationMs);
    mod.hostEffects.screenFadedOut = true;
}

void fadeScreenIn(int32_t durationMs) {
    callNative(kDoScreenFadeIn, durationMs);
    mod.hostEffects.screenFadedOut = false;
}

void startCue(int32_t cueId) {
    playCue(cueId);
    mod.hostEffects.cueStarted = true;
    mod.hostEffects.cueStartTick = tickCount();
}

void stopAllCues() {
    stopCues();
    mod.hostEffects.cueStarted = false;
}

void drawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    callNative(kDrawRect, x, y, width, height, red, green, blue, alpha, false);
}

void setTextFont(int32_t font) { callNative(kSetTextFont, font); }
void setTextScale(float scaleX, float scaleY) { callNative(kSetTextScale, scaleX, scaleY); }
void setTextColour(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    callNative(kSetTextColour, red, green, blue, alpha);
}
void setTextWrap(float left, float right) { callNative(kSetTextWrap, left, right); }
void setTextCentre(bool centred) { callNative(kSetTextCentre, centred); }
void setTextDropShadow(int32_t distance, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    callNative(kSetTextDropShadow, distance, red, green, blue, alpha);
}
void setTextEdge(int32_t edge, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    callNative(kSetTextEdge, edge, red, green, blue, alpha);
}
void beginScreenText(const char* entry) { callNative(kBeginDisplayText, entry); }
void beginFeedNotification(const char* entry) { callNative(kBeginFeedPost, entry); }
void addTextComponent(const char* text) { callNative(kAddTextComponentString, text); }
void drawScreenText(float x, float y) { callNative(kEndDisplayText, x, y, int32_t{0}); }
void postFeedNotification(bool blink, bool showInBrief) {
    callNative(kEndFeedPostTicker, blink, showInBrief);
}
