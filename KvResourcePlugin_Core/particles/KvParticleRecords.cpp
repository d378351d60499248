#include "particles/KvParticleRecords.h"

#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvParticleRange, ObjectConstructor)
using T = KvParticleRange;
schema.Member("average", &T::m_fAverage);
schema.Member("variation", &T::m_fVariation);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvParticleBox, ObjectConstructor)
using T = KvParticleBox;
schema.Member("min", &T::m_vMin);
schema.Member("max", &T::m_vMax);
KV_END_SCHEMA()

KV_BEGIN_SCHEMA(KvParticleInt2, ObjectConstructor)
using T = KvParticleInt2;
schema.Member("x", &T::m_iX);
schema.Member("y", &T::m_iY);
KV_END_SCHEMA()
