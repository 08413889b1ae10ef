// The host's natives for weapons and missiles, markers, forces, explosions, and the
// player's death and revival.
#include <cstring>

#include "host_internals.h"
#include "natives.h"

namespace sim {

namespace {

Entity* entityAt(HostInternals& host, const NativeCall& call, int index) { return host.world().entities().find(call.i(index)); }

Vec3 pointAt(const NativeCall& call, int index) { return {call.f(index), call.f(index + 1), call.f(index + 2)}; }

const NativeSpec kNatives[] = {
    // Weapons and missiles.
    {0x5443438F033E29C3, "requestWeaponAsset", "uii", '-',
     [](HostInternals& host, NativeCall& call) { host.world().combat().requestWeaponAsset(call.u(0), call.i(1), call.i(2)); }},
    {0x36E353271F0E90EE, "hasWeaponAssetLoaded", "u", 'b',
     [](HostInternals& host, NativeCall& call) { call.returnBool(host.world().combat().weaponAssetLoaded(call.u(0))); }},
    // from x, y, z; to x, y, z; damage; a switch; weapon; owner; audible; invisible; speed.
    {0x867654CBC7606F2C, "shootSingleBulletBetweenCoords", "ffffffibuhbbf", '-',
     [](HostInternals& host, NativeCall& call) {
         host.world().combat().fireMissile(pointAt(call, 0), pointAt(call, 3), call.i(6), call.u(8), call.i(9), call.b(10),
                                  call.b(11), call.f(12));
     }},
    // vehicle; audible; invisible.
    {0xBA71116ADF5B514C, "explodeVehicle", "hbb", '-',
     [](HostInternals& host, NativeCall& call) {
         host.noteVehicleBlownUp();
         host.world().combat().explodeVehicle(call.i(0), !call.b(2));
     }},

    // type; position; direction; rotation; scale; red, green, blue, alpha; bobbing, facing
    // the camera, rotation order, rotating; texture dictionary and name; drawn on entities.
    {0x28477EC23D892089, "drawMarker", "iffffffffffffiiiibbibssb", '-',
     [](HostInternals& host, NativeCall& call) {
         Marker marker;
         marker.type = call.i(0);
         marker.position = pointAt(call, 1);
         marker.direction = pointAt(call, 4);
         marker.rotation = pointAt(call, 7);
         marker.scale = pointAt(call, 10);
         for (int index = 0; index < 4; ++index) marker.colour[index] = call.i(13 + index);
         marker.bobs = call.b(17);
         marker.facesCamera = call.b(18);
         marker.rotationOrder = call.i(19);
         marker.rotates = call.b(20);
         marker.textured = call.s(21) != nullptr || call.s(22) != nullptr;
         host.world().records().drawMarker(marker);
     }},
    // entity; force type; force x, y, z; offset x, y, z; bone index; five switches.
    {0xC5F68BE9613E2D18, "applyForceToEntity", "hiffffffibbbbb", '-',
     [](HostInternals& host, NativeCall& call) {
         Entity* entity = entityAt(host, call, 0);
         if (entity == nullptr) return;
         Force force;
         force.entity = entity->handle;
         force.type = call.i(1);
         force.force = pointAt(call, 2);
         force.offset = pointAt(call, 5);
         for (int index = 0; index < 6; ++index) force.flags[index] = call.i(8 + index);
         host.world().combat().applyForce(*entity, force);
     }},

    // Death and the player's control.
    {0x5F9532F3B5CC2551, "isEntityDead", "hb", 'b',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnBool(entity != nullptr && entity->dead);
     }},
    // player; "at arresting" (the host's scripts pass 1).
    {0x388A47C51ABDAC8E, "isPlayerBeingArrested", "nb", 'b',
     [](HostInternals& host, NativeCall& call) {
         call.returnBool(call.i(0) == host.world().entities().playerIndex() && host.world().combat().playerArrested());
     }},
    {0x4F8644AF03D0E0D6, "playerId", "", 'i',
     [](HostInternals& host, NativeCall& call) { call.returnInt(host.world().entities().playerIndex()); }},
    {0x8A876A65283DD7D7, "isPlayerControlOn", "n", 'b',
     [](HostInternals& host, NativeCall& call) {
         call.returnBool(call.i(0) == host.world().entities().playerIndex() && host.world().combat().playerControl());
     }},
};

}  // namespace

std::span<const NativeSpec> combatNatives() { return kNatives; }

}  // namespace sim
