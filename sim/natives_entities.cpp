// The host's natives for the player, entities, vehicles, peds and models.
#include "host.h"
#include "natives.h"

namespace sim {

namespace {

Entity* entityAt(Host& host, const NativeCall& call, int index) { return host.world().find(call.i(index)); }

Vec3 pointAt(const NativeCall& call, int index) { return {call.f(index), call.f(index + 1), call.f(index + 2)}; }

const NativeSpec kNatives[] = {
    // The player and what any entity can tell.
    {0xD80958FC74E988A6, "playerPedId", "", 'h',
     [](Host& host, NativeCall& call) { call.returnInt(host.world().playerPed()); }},
    {0x7239B21A38F536BA, "doesEntityExist", "h", 'b',
     [](Host& host, NativeCall& call) { call.returnBool(entityAt(host, call, 0) != nullptr); }},
    {0x3FEF770D40960D5A, "getEntityCoords", "hb", 'v',
     [](Host& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnVector(entity != nullptr ? entity->position : Vec3{});
     }},
    {0x4805D2B1D8CF94A9, "getEntityVelocity", "h", 'v',
     [](Host& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnVector(entity != nullptr ? entity->velocity : Vec3{});
     }},
    {0xD5037BA82E12416F, "getEntitySpeed", "h", 'f',
     [](Host& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnFloat(entity != nullptr ? length(entity->velocity) : 0.0f);
     }},
    {0xE83D4F9BA2A38914, "getEntityHeading", "h", 'f',
     [](Host& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnFloat(entity != nullptr ? entity->heading : 0.0f);
     }},
    {0x6094AD011A2EA87D, "getVehiclePedIsUsing", "h", 'h',
     [](Host& host, NativeCall& call) { call.returnInt(host.world().vehicleOf(call.i(0))); }},
    {0x4C241E39B23DF959, "isVehicleDriveable", "hb", 'b',
     [](Host& host, NativeCall& call) {
         const Entity* entity = entityAt(host, call, 0);
         call.returnBool(entity != nullptr && entity->kind == EntityKind::Vehicle && !entity->wrecked);
     }},

    // Moving entities.
    {0x239A3351AC1DA385, "setEntityCoordsNoOffset", "hfffbbb", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) host.world().place(*entity, pointAt(call, 1));
     }},
    {0x06843DA7060A026B, "setEntityCoords", "hfffbbbb", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) host.world().place(*entity, pointAt(call, 1));
     }},
    {0x8E2530AA8ADA980E, "setEntityHeading", "hf", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) host.world().setHeading(*entity, call.f(1));
     }},
    {0xAB54A438726D25D5, "setVehicleForwardSpeed", "hf", '-',
     [](Host& host, NativeCall& call) {
         Entity* entity = entityAt(host, call, 0);
         if (entity != nullptr && entity->kind == EntityKind::Vehicle) host.world().setForwardSpeed(*entity, call.f(1));
     }},
    {0x49733E92263139D1, "setVehicleOnGroundProperly", "h", 'b',
     [](Host& host, NativeCall& call) {
         Entity* entity = entityAt(host, call, 0);
         const bool done = entity != nullptr && entity->kind == EntityKind::Vehicle;
         if (done) ++entity->setOnGroundCalls;
         call.returnBool(done);
     }},

    // Models and creation.
    {0xD24D37CC275948CC, "getHashKey", "s", 'u',
     [](Host&, NativeCall& call) { call.returnUnsigned(hashOfName(call.s(0) != nullptr ? call.s(0) : "")); }},
    {0x963D27A58DF860AC, "requestModel", "u", '-',
     [](Host& host, NativeCall& call) { host.world().requestModel(call.u(0)); }},
    {0x98A4EB5D89A0C952, "hasModelLoaded", "u", 'b',
     [](Host& host, NativeCall& call) { call.returnBool(host.world().modelLoaded(call.u(0))); }},
    {0xAF35D0D2583051B0, "createVehicle", "uffffbb", 'h',
     [](Host& host, NativeCall& call) {
         call.returnInt(host.world().createVehicle(call.u(0), pointAt(call, 1), call.f(4)));
     }},
    {0x7DD959874C1FD534, "createPedInsideVehicle", "hiuibb", 'h',
     [](Host& host, NativeCall& call) {
         call.returnInt(host.world().createPedInVehicle(call.i(0), call.i(1), call.u(2), call.i(3)));
     }},
    {0xB736A491E64A32CF, "setEntityAsNoLongerNeeded", "p", '-',
     [](Host& host, NativeCall& call) { host.world().handBack(*call.out<int32_t>(0)); }},

    // What the script sets on its entities.
    {0x1C99BB7B6E96D16F, "helicopterSetup", "hiif", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) ++entity->setupCalls;
     }},
    {0xCFC8BE9A5E1FE575, "controlLandingGear", "hi", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->landingGear = call.i(1);
     }},
    {0x70A2D1137C8ED7C9, "setPedFleeAttributes", "hib", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->fleeAttributes = call.b(2) ? call.i(1) : 0;
     }},
    {0x3882114BDE571AD4, "setEntityInvincible", "hb", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->invincible = call.b(1);
     }},
    {0xAD738C3085FE7E11, "setEntityAsMissionEntity", "hbb", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->missionEntity = true;
     }},
    {0x33A8F7F7D5F7F33C, "setPedHearingRange", "hf", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->hearingRange = call.f(1);
     }},
    {0xF29CF591C4BF6CEE, "setPedSeeingRange", "hf", '-',
     [](Host& host, NativeCall& call) {
         if (Entity* entity = entityAt(host, call, 0)) entity->seeingRange = call.f(1);
     }},
};

}  // namespace

std::span<const NativeSpec> entityNatives() { return kNatives; }

}  // namespace sim
