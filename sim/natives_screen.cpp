// The host's natives for input, frontend sounds, rectangles, screen texts and the feed.
#include "host_internals.h"
#include "natives.h"

namespace sim {

namespace {

// Each drawn or posted text takes the pending style; the style then starts afresh.
template <typename Item>
void takePendingText(HostInternals& host, Item& item) {
    item.entry = host.pendingEntry();
    item.text = host.pendingText();
    item.style = host.pendingStyle();
}

void resetPendingText(HostInternals& host) {
    host.pendingStyle() = TextStyle{};
    host.pendingEntry().clear();
    host.pendingText().clear();
}

const NativeSpec kNatives[] = {
    // Input.
    {0xD95E79E8686D2C27, "getControlValue", "ii", 'i',
     [](HostInternals& host, NativeCall& call) {
         call.returnInt(call.i(0) == 2 && call.i(1) == 73 ? host.padControl() : 0);
     }},

    {0x67C540AA08E4A6F5, "playSoundFrontend", "issb", '-',
     [](HostInternals& host, NativeCall& call) { host.recordFrontendSound(call.i(0), call.s(1), call.s(2)); }},

    // Drawing.
    {0x3A618A217E5154F0, "drawRect", "ffffiiiib", '-',
     [](HostInternals& host, NativeCall& call) {
         if (!host.captureEnabled()) return;
         ScreenRect& rect = host.mutableScreen().rects.add();
         rect = {call.f(0), call.f(1), call.f(2), call.f(3), {call.i(4), call.i(5), call.i(6), call.i(7)}};
     }},

    // Text on screen and in the feed.
    {0x66E0276CC5F6B9DA, "setTextFont", "i", '-',
     [](HostInternals& host, NativeCall& call) { host.pendingStyle().font = call.i(0); }},
    {0x07C837F9A01C34C9, "setTextScale", "ff", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingStyle().scaleX = call.f(0);
         host.pendingStyle().scaleY = call.f(1);
     }},
    {0xBE6B23FFA53FB442, "setTextColour", "iiii", '-',
     [](HostInternals& host, NativeCall& call) { host.pendingStyle().colour = {call.i(0), call.i(1), call.i(2), call.i(3)}; }},
    {0x63145D9C883A1A70, "setTextWrap", "ff", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingStyle().wrapLeft = call.f(0);
         host.pendingStyle().wrapRight = call.f(1);
     }},
    {0xC02F4DBFB51D988B, "setTextCentre", "b", '-',
     [](HostInternals& host, NativeCall& call) { host.pendingStyle().centred = call.b(0); }},
    {0x465C84BC39F1C351, "setTextDropShadow", "iiiii", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingStyle().shadowDistance = call.i(0);
         host.pendingStyle().shadow = {call.i(1), call.i(2), call.i(3), call.i(4)};
     }},
    {0x441603240D202FA6, "setTextEdge", "iiiii", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingStyle().edge = call.i(0);
         host.pendingStyle().edgeColour = {call.i(1), call.i(2), call.i(3), call.i(4)};
     }},
    {0x25FBB336DF1804CB, "beginTextCommandDisplayText", "s", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingEntry() = call.s(0);
         host.pendingText().clear();
     }},
    {0x202709F4C58A0424, "beginTextCommandThefeedPost", "s", '-',
     [](HostInternals& host, NativeCall& call) {
         host.pendingEntry() = call.s(0);
         host.pendingText().clear();
     }},
    {0x6C188BE134E074AA, "addTextComponentSubstringPlayerName", "s", '-',
     [](HostInternals& host, NativeCall& call) { host.pendingText() += call.s(0); }},
    {0xCD015E5BB0D96A57, "endTextCommandDisplayText", "ffi", '-',
     [](HostInternals& host, NativeCall& call) {
         if (host.captureEnabled()) {
             ScreenText& text = host.mutableScreen().texts.add();
             takePendingText(host, text);
             text.x = call.f(0);
             text.y = call.f(1);
         }
         resetPendingText(host);
     }},
    {0x2ED7843F8F801023, "endTextCommandThefeedPostTicker", "bb", 'i',
     [](HostInternals& host, NativeCall& call) {
         if (host.captureEnabled()) {
             Notification& notification = host.mutableScreen().notifications.add();
             takePendingText(host, notification);
             notification.blink = call.b(0);
             notification.showInBrief = call.b(1);
         }
         resetPendingText(host);
         call.returnInt(1);
     }},
};

}  // namespace

std::span<const NativeSpec> screenNatives() { return kNatives; }

}  // namespace sim
