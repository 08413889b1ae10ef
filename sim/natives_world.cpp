// The host's natives for sight, distance, pilots, the camera hint, time scale and fades,
// and the respawn's fixed calls.
#include "host.h"
#include "natives.h"

namespace sim {

namespace {

const NativeSpec kNatives[] = {
    {0xFCDFF7B72D23A1AC, "hasEntityClearLosToEntity", "hhi", 'b',
     [](Host& host, NativeCall& call) { call.returnBool(host.world().lineOfSight(call.i(0), call.i(1))); }},
    {0xF1B760881820C952, "getDistanceBetweenCoords", "ffffffb", 'f',
     [](Host&, NativeCall& call) {
         const Vec3 between{call.f(3) - call.f(0), call.f(4) - call.f(1), call.f(5) - call.f(2)};
         call.returnFloat(call.b(6) ? length(between) : horizontalLength(between));
     }},

    // pilot, vehicle, target vehicle, target ped, x, y, z, mission kind, speed, radius,
    // heading, two heights, a float and the mission flags.
    {0xDAD029E187A2BEB4, "taskHeliMission", "hhhhfffifffiifi", '-',
     [](Host& host, NativeCall& call) {
         host.world().giveHeliMission(call.i(0), call.i(1), {call.f(4), call.f(5), call.f(6)}, call.f(8));
     }},

    {0xD51ADCD2D8BC0FB3, "setGameplayCoordHint", "fffiiii", '-',
     [](Host& host, NativeCall& call) {
         const int32_t timings[4] = {call.i(3), call.i(4), call.i(5), call.i(6)};
         host.world().hintCamera({call.f(0), call.f(1), call.f(2)}, timings);
     }},
    {0x513403FB9C56211F, "setGameplayHintFov", "f", '-',
     [](Host& host, NativeCall& call) { host.world().setHintFov(call.f(0)); }},
    {0x1D408577D440E81E, "setTimeScale", "f", '-',
     [](Host& host, NativeCall& call) { host.world().setTimeScale(call.f(0)); }},
    {0x891B5B39AC6302AF, "doScreenFadeOut", "i", '-',
     [](Host& host, NativeCall& call) { host.world().fade(false, call.i(0)); }},
    {0xD4E8E24955024033, "doScreenFadeIn", "i", '-',
     [](Host& host, NativeCall& call) { host.world().fade(true, call.i(0)); }},

    // Two fixed calls of the respawn whose effect the host keeps to itself.
    {0xB4EC2312F4E5B1F1, "respawnFixedCallOne", "i", '-', [](Host&, NativeCall&) {}},
    {0x6D0858B8EDFD2B7D, "respawnFixedCallTwo", "ii", '-', [](Host&, NativeCall&) {}},
};

}  // namespace

std::span<const NativeSpec> worldNatives() { return kNatives; }

}  // namespace sim
