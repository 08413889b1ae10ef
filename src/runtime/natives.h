// One wrapper per native the plug-in calls, named for what it does. Each pushes its
// arguments in the native's order and widths; nobody else calls the host directly.
#pragma once

#include <cstdint>

#include "runtime/mod_state.h"

// Input and sound.
int32_t padControlValue(int32_t inputGroup, int32_t control);
void playSoundFrontend(int32_t soundId, const char* soundName, const char* soundSet, bool p3);
// The module's own sound cues, which the seam plays (not natives): one replaces another.
void startCue(int32_t cueId);
void stopAllCues();

// The player and entities.
HostHandle playerPedHandle();
Vector3 entityPosition(HostHandle entity);
float entitySpeed(HostHandle entity);
Vector3 entityVelocity(HostHandle entity);
bool entityExists(HostHandle entity);
float entityHeading(HostHandle entity);
// The vehicle the ped is using (0 when none).
HostHandle vehiclePedIsUsing(HostHandle ped);
// Whether the host still counts the vehicle as drivable.
bool vehicleDrivable(HostHandle vehicle);
// A clear line of sight from one entity to another (the trace flags of every caller: 17).
bool hasClearLineOfSight(HostHandle from, HostHandle to);
// The distance between two points, with or without the height difference.
float distanceBetween(const Vector3& from, const Vector3& to, bool withHeight);

// Moving entities.
// Puts an entity at a point, without the host's placement offset.
void placeEntityNoOffset(HostHandle entity, float x, float y, float z);
// Puts an entity at a point; the four flags are the host's, as each caller gives them.
void placeEntity(HostHandle entity, float x, float y, float z, int32_t flag1, int32_t flag2, int32_t flag3,
                 int32_t flag4);
void setEntityHeading(HostHandle entity, float heading);
void setVehicleForwardSpeed(HostHandle vehicle, float speed);
// Sets a vehicle down properly on the ground (with the host's usual 5.0).
void setVehicleOnGround(HostHandle vehicle);

// Models, creation and ownership.
HostHash hashOfName(const char* name);
void requestModel(HostHash model);
bool modelLoaded(HostHash model);
// A vehicle of a loaded model, or 0 when the host made none.
HostHandle createVehicle(HostHash model, float x, float y, float z, float heading);
// A ped of a loaded model in a seat of the vehicle (-1: the driver's), or 0.
HostHandle createPedInVehicle(HostHandle vehicle, int32_t pedType, HostHash model, int32_t seat);
// The host's setup call on a new helicopter, with its fixed arguments (0.0, 0.0, 3.0).
void setUpHelicopter(HostHandle helicopter);
void setLandingGear(HostHandle vehicle, int32_t state);
void setPedFleeAttributes(HostHandle ped, int32_t attributes, bool enable);
void setEntityInvincible(HostHandle entity, bool invincible);
// Makes an entity a mission entity of this script.
void makeMissionEntity(HostHandle entity);
void setPedHearingRange(HostHandle ped, float range);
void setPedSeeingRange(HostHandle ped, float range);
// Hands an entity back to the host: it is no longer needed. Takes the handle's address.
void handEntityBack(HostHandle* entity);

// Pilots: a helicopter mission toward a point, with the pursuit's fixed speed, radius,
// heading, heights and flags.
void giveHeliMission(HostHandle pilot, HostHandle helicopter, float x, float y, float z);

// Weapons, missiles, markers and forces.
// Asks the host to stream a weapon's asset in (the missiles' flags: 31, 0).
void requestWeaponAsset(HostHash weapon, int32_t flags, int32_t extraFlags);
bool weaponAssetLoaded(HostHash weapon);
// Fires one missile of the weapon from one point to another, audible and visible.
void fireMissile(const Vector3& from, const Vector3& to, int32_t damage, HostHash weapon, HostHandle owner,
                 float speed);
// Blows a vehicle up, audible and visible.
void explodeVehicle(HostHandle vehicle);
// The aim marker for this frame: a green, half-clear marker of type 2, turned over and
// facing the camera, without a texture.
void drawAimMarker(const Vector3& at);
// A force on an entity at an offset, with the host's six switches on (1).
void applyForce(HostHandle entity, int32_t forceType, float forceX, float forceY, float forceZ, float offsetX,
                float offsetY, float offsetZ);
HostHash entityModel(HostHandle entity);
// Fills the model's minimum and maximum corners (in the host's 3-vector layout).
void modelDimensions(HostHash model, Vector3* minimum, Vector3* maximum);
// An offset in the entity's own frame (right, ahead, up), in world coordinates.
Vector3 offsetInWorld(HostHandle entity, float x, float y, float z);

// Death, control and the respawn.
bool entityDead(HostHandle entity);
// Whether the player (by index) is being arrested; the plug-in counts an arrest as a death.
bool playerBeingArrested(int32_t player);
// The local player's index.
int32_t playerIndex();
// Whether the player is under script control.
bool playerControlOn(int32_t player);
// Puts a ped into a seat of a vehicle (-1: the driver's).
void putPedIntoVehicle(HostHandle ped, HostHandle vehicle, int32_t seat);
// Switches a vehicle's engine on at once (1, 1), its automatic start left alone (0).
void switchEngineOn(HostHandle vehicle);
// The gameplay camera's heading relative to the player (0.0: behind), and its pitch, reached
// at a rate (the host's scripts use 1.0).
void setCameraHeading(float heading);
void setCameraPitch(float pitch, float rate);

// Camera, time and the screen.
// Hints the gameplay camera toward a point (the fixed timings 10, 10, 10, 10).
void hintCameraAt(float x, float y, float z);
void setCameraHintFov(float fov);
void setTimeScale(float scale);
void fadeScreenOut(int32_t durationMs);
void fadeScreenIn(int32_t durationMs);

// A filled rectangle for this frame, centred at (x, y).
void drawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue, int32_t alpha);

// Text on screen and in the feed: a style, an entry of "STRING" with one text component,
// then drawn at a point or posted.
void setTextFont(int32_t font);
void setTextScale(float scaleX, float scaleY);
void setTextColour(int32_t red, int32_t green, int32_t blue, int32_t alpha);
void setTextWrap(float left, float right);
void setTextCentre(bool centred);
void setTextDropShadow(int32_t distance, int32_t red, int32_t green, int32_t blue, int32_t alpha);
void setTextEdge(int32_t edge, int32_t red, int32_t green, int32_t blue, int32_t alpha);
void beginScreenText(const char* entry);
void beginFeedNotification(const char* entry);
void addTextComponent(const char* text);
void drawScreenText(float x, float y);
void postFeedNotification(bool blink, bool showInBrief);
