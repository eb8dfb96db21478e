// Registration of the effects library's type definitions, in the order of the type table.
#include "akdebugfx.h"

namespace akdebugschema {

namespace {

void addEffectsTypes(Registration& r)
{
    akDebugTypeDef* cullRecord = Schema<KiCullRecord>::def;
    r.add<AkFxCullRecord<akFxBlade::CullRecord>>("akFxBlade_CullRecord", cullRecord, ALL);
    r.add<AkFxCullRecord<akFxMissileTrail::CullRecord>>("akFxMissileTrail_CullRecord", cullRecord, ALL);
    r.add<AkFxCullRecord<akFxParticleSystem::CullRecord>>("akFxParticleSystem_CullRecord", cullRecord, ALL);
    akDebugTypeDef* fx = r.add<AkFx>("akFx", Schema<AkTransform>::def, 0);
    r.add<AkFxBlade>("akFxBlade", fx, ALL);
    r.add<AkFxMissileTrail>("akFxMissileTrail", fx, ALL);
    akDebugTypeDef* particleSystem = r.add<AkFxParticleSystem>("akFxParticleSystem", fx, ALL);
    r.add<AkFxPreset<akFxDebris>>("akFxDebris", particleSystem, ALL);
    r.add<AkFxPreset<akFxExplosion>>("akFxExplosion", particleSystem, ALL);
    r.add<AkFxPreset<akFxExplosion2>>("akFxExplosion2", particleSystem, ALL);
    r.add<AkFxPreset<akFxExplosion3>>("akFxExplosion3", particleSystem, ALL);
    r.add<AkFxPreset<akFxFire>>("akFxFire", particleSystem, ALL);
    r.add<AkFxPreset<akFxFlak>>("akFxFlak", particleSystem, ALL);
    r.add<AkFxPreset<akFxFlame>>("akFxFlame", particleSystem, ALL);
    r.add<AkFxPreset<akFxFlash>>("akFxFlash", particleSystem, ALL);
    r.add<AkFxPreset<akFxRotorWash>>("akFxRotorWash", particleSystem, ALL);
    r.add<AkFxPreset<akFxSmoke>>("akFxSmoke", particleSystem, ALL);
    r.add<AkFxPreset<akFxSmokeBall>>("akFxSmokeBall", particleSystem, ALL);
    r.add<AkFxPreset<akFxSplash>>("akFxSplash", particleSystem, ALL);
}

}  // namespace

Registration effectsTypes(addEffectsTypes);

}  // namespace akdebugschema
