// The host's natives for sight, distance, pilots, the gameplay camera, time scale and fades.
#include "host_internals.h"
#include "natives.h"

namespace sim {

namespace {

const NativeSpec kNatives[] = {
    {0xFCDFF7B72D23A1AC, "hasEntityClearLosToEntity", "hhi", 'b',
     [](HostInternals& host, NativeCall& call) { call.returnBool(host.world().entities().lineOfSight(call.i(0), call.i(1))); }},
    {0xF1B760881820C952, "getDistanceBetweenCoords", "ffffffb", 'f',
     [](HostInternals&, NativeCall& call) {
         const Vec3 between{call.f(3) - call.f(0), call.f(4) - call.f(1), call.f(5) - call.f(2)};
         call.returnFloat(call.b(6) ? length(between) : horizontalLength(between));
     }},

    // pilot, vehicle, target vehicle, target ped, x, y, z, mission kind, speed, radius,
    // heading, two heights, a float and the mission flags.
    {0xDAD029E187A2BEB4, "taskHeliMission", "hhhhfffifffiifi", '-',
     [](HostInternals& host, NativeCall& call) {
         host.world().driving().giveHeliMission(call.i(0), call.i(1), {call.f(4), call.f(5), call.f(6)}, call.f(8));
     }},

    {0xD51ADCD2D8BC0FB3, "setGameplayCoordHint", "fffiiii", '-',
     [](HostInternals& host, NativeCall& call) {
         const int32_t timings[4] = {call.i(3), call.i(4), call.i(5), call.i(6)};
         host.world().records().hintCamera({call.f(0), call.f(1), call.f(2)}, timings);
     }},
    {0x513403FB9C56211F, "setGameplayHintFov", "f", '-',
     [](HostInternals& host, NativeCall& call) { host.world().records().setHintFov(call.f(0)); }},
    {0x1D408577D440E81E, "setTimeScale", "f", '-',
     [](HostInternals& host, NativeCall& call) { host.world().records().setTimeScale(call.f(0)); }},
    {0x891B5B39AC6302AF, "doScreenFadeOut", "i", '-',
     [](HostInternals& host, NativeCall& call) { host.world().records().fade(false, call.i(0)); }},
    {0xD4E8E24955024033, "doScreenFadeIn", "i", '-',
     [](HostInternals& host, NativeCall& call) { host.world().records().fade(true, call.i(0)); }},

    // The gameplay camera's heading relative to the player; its pitch, and the rate to reach it.
    // The simulated screen is seen from above: neither changes it.
    {0xB4EC2312F4E5B1F1, "setGameplayCamRelativeHeading", "f", '-', [](HostInternals&, NativeCall&) {}},
    {0x6D0858B8EDFD2B7D, "setGameplayCamRelativePitch", "ff", '-', [](HostInternals&, NativeCall&) {}},
};

}  // namespace

std::span<const NativeSpec> worldNatives() { return kNatives; }

}  // namespace sim
