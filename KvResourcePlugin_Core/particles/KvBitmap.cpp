#include "particles/KvBitmap.h"

#include "projectdata/KvSchema.h"

KV_BEGIN_SCHEMA(KvBitmap, ObjectConstructor)
schema.Member("filename", &KvBitmap::m_strFileName);
KV_END_SCHEMA()
