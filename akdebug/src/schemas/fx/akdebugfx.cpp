// Registration of the effects library's type definitions, in the order of the type table.
#include "akdebugfx.h"

namespace akdebugschema {

namespace {
bool s_registered = false;
}

int registerEffectsTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    akDebugTypeDef* cullRecord = Schema<KiCullRecord>::def;
    Schema<AkFxCullRecord<akFxBlade::CullRecord>>::add("akFxBlade_CullRecord", cullRecord, ALL);
    Schema<AkFxCullRecord<akFxMissileTrail::CullRecord>>::add("akFxMissileTrail_CullRecord", cullRecord, ALL);
    Schema<AkFxCullRecord<akFxParticleSystem::CullRecord>>::add("akFxParticleSystem_CullRecord", cullRecord, ALL);
    akDebugTypeDef* fx = Schema<AkFx>::add("akFx", Schema<AkTransform>::def, 0);
    Schema<AkFxBlade>::add("akFxBlade", fx, ALL);
    Schema<AkFxMissileTrail>::add("akFxMissileTrail", fx, ALL);
    akDebugTypeDef* particleSystem = Schema<AkFxParticleSystem>::add("akFxParticleSystem", fx, ALL);
    Schema<AkFxPreset<akFxDebris>>::add("akFxDebris", particleSystem, ALL);
    Schema<AkFxPreset<akFxExplosion>>::add("akFxExplosion", particleSystem, ALL);
    Schema<AkFxPreset<akFxExplosion2>>::add("akFxExplosion2", particleSystem, ALL);
    Schema<AkFxPreset<akFxExplosion3>>::add("akFxExplosion3", particleSystem, ALL);
    Schema<AkFxPreset<akFxFire>>::add("akFxFire", particleSystem, ALL);
    Schema<AkFxPreset<akFxFlak>>::add("akFxFlak", particleSystem, ALL);
    Schema<AkFxPreset<akFxFlame>>::add("akFxFlame", particleSystem, ALL);
    Schema<AkFxPreset<akFxFlash>>::add("akFxFlash", particleSystem, ALL);
    Schema<AkFxPreset<akFxRotorWash>>::add("akFxRotorWash", particleSystem, ALL);
    Schema<AkFxPreset<akFxSmoke>>::add("akFxSmoke", particleSystem, ALL);
    Schema<AkFxPreset<akFxSmokeBall>>::add("akFxSmokeBall", particleSystem, ALL);
    Schema<AkFxPreset<akFxSplash>>::add("akFxSplash", particleSystem, ALL);
    s_registered = true;
    return telu::SUCCESS;
}

int removeEffectsTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    Schema<AkFxPreset<akFxSplash>>::remove();
    Schema<AkFxPreset<akFxSmokeBall>>::remove();
    Schema<AkFxPreset<akFxSmoke>>::remove();
    Schema<AkFxPreset<akFxRotorWash>>::remove();
    Schema<AkFxPreset<akFxFlash>>::remove();
    Schema<AkFxPreset<akFxFlame>>::remove();
    Schema<AkFxPreset<akFxFlak>>::remove();
    Schema<AkFxPreset<akFxFire>>::remove();
    Schema<AkFxPreset<akFxExplosion3>>::remove();
    Schema<AkFxPreset<akFxExplosion2>>::remove();
    Schema<AkFxPreset<akFxExplosion>>::remove();
    Schema<AkFxPreset<akFxDebris>>::remove();
    Schema<AkFxParticleSystem>::remove();
    Schema<AkFxMissileTrail>::remove();
    Schema<AkFxBlade>::remove();
    Schema<AkFx>::remove();
    Schema<AkFxCullRecord<akFxParticleSystem::CullRecord>>::remove();
    Schema<AkFxCullRecord<akFxMissileTrail::CullRecord>>::remove();
    Schema<AkFxCullRecord<akFxBlade::CullRecord>>::remove();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
