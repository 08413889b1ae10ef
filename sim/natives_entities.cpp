// The host's natives for the player, entities, vehicles, peds and models.
#include <cstring>
#include <limits>

#include "host_internals.h"
#include "natives.h"

namespace sim {

namespace {

Entity* entityAt(HostInternals& host, const NativeCall& call, int index) { return host.world().entities().find(call.i(index)); }

Vec3 pointAt(const NativeCall& call, int index) { return {call.f(index), call.f(index + 1), call.f(index + 2)}; }

// A 3-vector written where the plug-in asked for it: each float in its own 8-byte slot.
void writeVector(void* address, Vec3 value) {
    const uint64_t slots[3] = {NativeCall::floatSlot(value.x), NativeCall::floatSlot(value.y), NativeCall::floatSlot(value.z)};
    std::memcpy(address, slots, sizeof slots);
}

const NativeSpec kNatives[] = {
    // The player and what any entity can tell.
    {0xD80958FC74E988A6, "playerPedId", "", 'h',
     [](HostInternals& host, NativeCall& call) { call.returnInt(host.world().entities().playerPed()); }},
    {0x7239B21A38F536BA, "doesEntityExist", "h", 'b',
     [](HostInternals& host, NativeCall& call) { call.returnBool(entityAt(host, call, 0) != nullptr); }},
    {0x3FEF770D40960D5A, "getEntityCoords", "hb", 'v',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnVector(entity != nullptr ? entity->position : Vec3{});
     }},
    {0x4805D2B1D8CF94A9, "getEntityVelocity", "h", 'v',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnVector(entity != nullptr ? entity->velocity : Vec3{});
     }},
    {0xD5037BA82E12416F, "getEntitySpeed", "h", 'f',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         if (host.world().entities().speedsNotANumber()) {
             call.returnFloat(std::numeric_limits<float>::quiet_NaN());
             return;
         }
         call.returnFloat(entity != nullptr ? length(entity->velocity) : 0.0f);
     }},
    {0xE83D4F9BA2A38914, "getEntityHeading", "h", 'f',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnFloat(entity != nullptr ? entity->heading : 0.0f);
     }},
    {0x6094AD011A2EA87D, "getVehiclePedIsUsing", "h", 'h',
     [](HostInternals& host, NativeCall& call) { call.returnInt(host.world().entities().vehicleOf(call.i(0))); }},
    {0x9F47B058362C84B5, "getEntityModel", "h", 'u',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnUnsigned(entity != nullptr ? entity->model : 0u);
     }},
    // An offset in the entity's own frame, in world coordinates.
    {0x1899F328B0E12848, "getOffsetFromEntityInWorldCoords", "hfff", 'v',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnVector(entity != nullptr ? host.world().entities().offsetInWorld(*entity, pointAt(call, 1)) : Vec3{});
     }},
    {0x4C241E39B23DF959, "isVehicleDriveable", "hb", 'b',
     [](HostInternals& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnBool(entity != nullptr && entity->kind == EntityKind::Vehicle && !entity->wrecked);
     }},

    // Moving entities.
    {0x239A3351AC1DA385, "setEntityCoordsNoOffset", "hfffbbb", '-',
     [](HostInternals& host, NativeCall& call) {
         host.noteEntityMoved();
         if (Entity* entity = entityAt(host, call, 0)) host.world().entities().place(*entity, pointAt(call, 1));
     }},
    {0x06843DA7060A026B, "setEntityCoords", "hfffbbbb", '-',
     [](HostInternals& host, NativeCall& call) {
         host.noteEntityMoved();
         if (Entity* entity = entityAt(host, call, 0)) host.world().entities().place(*entity, pointAt(call, 1));
     }},
    {0x8E2530AA8ADA980E, "setEntityHeading", "hf", '-',
     [](HostInternals& host, NativeCall& call) {
         host.noteEntityMoved();
         if (Entity* entity = entityAt(host, call, 0)) host.world().entities().setHeading(*entity, call.f(1));
     }},
    {0xAB54A438726D25D5, "setVehicleForwardSpeed", "hf", '-',
     [](HostInternals& host, NativeCall& call) {
         host.noteEntityMoved();
         Entity* entity = entityAt(host, call, 0);
         if (entity != nullptr && entity->kind == EntityKind::Vehicle) host.world().entities().setForwardSpeed(*entity, call.f(1));
     }},
    {0x49733E92263139D1, "setVehicleOnGroundProperly", "hf", 'b',
     [](HostInternals& host, NativeCall& call) {
         Entity* entity = entityAt(host, call, 0);
         const bool done = entity != nullptr && entity->kind == EntityKind::Vehicle;
         if (done) ++entity->setOnGroundCalls;
         call.returnBool(done);
     }},

    // Models and creation.
    {0xD24D37CC275948CC, "getHashKey", "s", 'u',
     [](HostInternals&, NativeCall& call) { call.returnUnsigned(hashOfName(call.s(0) != nullptr ? call.s(0) : "")); }},
    {0x963D27A58DF860AC, "requestModel", "u", '-',
     [](HostInternals& host, NativeCall& call) { host.world().entities().requestModel(call.u(0)); }},
    {0x98A4EB5D89A0C952, "hasModelLoaded", "u", 'b',
     [](HostInternals& host, NativeCall& call) { call.returnBool(host.world().entities().modelLoaded(call.u(0))); }},
    {0xAF35D0D2583051B0, "createVehicle", "uffffbbb", 'h',
     [](HostInternals& host, NativeCall& call) {
         call.returnInt(host.world().entities().createVehicle(call.u(0), pointAt(call, 1), call.f(4)));
     }},
    {0x7DD959874C1FD534, "createPedInsideVehicle", "hiuibb", 'h',
     [](HostInternals& host, NativeCall& call) {
         call.returnInt(host.world().entities().createPedInVehicle(call.i(0), call.i(1), call.u(2), call.i(3)));
     }},
    // Fills the two 3-vectors at the addresses with the model's corners (zeros when unknown).
    {0x03E8D3D5F549087A, "getModelDimensions", "upp", '-',
     [](HostInternals& host, NativeCall& call) {
         const Model* model = host.world().entities().findModel(call.u(0));
         writeVector(call.out<void>(1), model != nullptr ? model->minimum : Vec3{});
         writeVector(call.out<void>(2), model != nullptr ? model->maximum : Vec3{});
     }},
    {0xB736A491E64A32CF, "setEntityAsNoLongerNeeded", "e", '-',
     [](HostInternals& host, NativeCall& call) { host.world().entities().handBack(*call.out<int32_t>(0)); }},

    // What the script sets on its entities.
    {0x1C99BB7B6E96D16F, "helicopterSetup", "hfff", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) ++entity->setupCalls;
     }},
    {0xCFC8BE9A5E1FE575, "controlLandingGear", "hi", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->landingGear = call.i(1);
     }},
    {0x70A2D1137C8ED7C9, "setPedFleeAttributes", "hib", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->fleeAttributes = call.b(2) ? call.i(1) : 0;
     }},
    {0x3882114BDE571AD4, "setEntityInvincible", "hb", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->invincible = call.b(1);
     }},
    {0xF75B0D629E1C063D, "setPedIntoVehicle", "hhi", '-',
     [](HostInternals& host, NativeCall& call) { host.world().entities().seat(call.i(0), call.i(1), call.i(2)); }},
    {0x2497C4717C8B881E, "setVehicleEngineOn", "hbbb", '-',
     [](HostInternals& host, NativeCall& call) {
         Entity* entity = entityAt(host, call, 0);
         if (entity != nullptr && entity->kind == EntityKind::Vehicle) entity->engineOn = call.b(1);
     }},
    {0xAD738C3085FE7E11, "setEntityAsMissionEntity", "hbb", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->missionEntity = true;
     }},
    {0x33A8F7F7D5F7F33C, "setPedHearingRange", "hf", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->hearingRange = call.f(1);
     }},
    {0xF29CF591C4BF6CEE, "setPedSeeingRange", "hf", '-',
     [](HostInternals& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->seeingRange = call.f(1);
     }},
};

}  // namespace

std::span<const NativeSpec> entityNatives() { return kNatives; }

}  // namespace sim
