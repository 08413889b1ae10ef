#include "runtime/natives.h"

#include "runtime/host_call.h"

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
constexpr uint64_t kGetVehiclePedIsUsing = 0x6094AD011A2EA87D;

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

HostHandle vehiclePedIsUsing(HostHandle ped) { return intResult(callNative(kGetVehiclePedIsUsing, ped)); }

void drawRect(float x, float y, float width, float height, int32_t red, int32_t green, int32_t blue, int32_t alpha) {
    callNative(kDrawRect, x, y, width, height, red, green, blue, alpha);
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
void drawScreenText(float x, float y) { callNative(kEndDisplayText, x, y); }
void postFeedNotification(bool blink, bool showInBrief) {
    callNative(kEndFeedPostTicker, blink, showInBrief);
}
