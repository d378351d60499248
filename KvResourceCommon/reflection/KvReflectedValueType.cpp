#include "reflection/KvReflectedValueType.h"

const char* KvGetValueTypeName(eReflectedValueType valueType)
{
    switch (valueType)
    {
    case VALUE_BOOL:
        return "bool";
    case VALUE_U8:
        return "u8";
    case VALUE_U32:
        return "u32";
    case VALUE_S32:
        return "s32";
    case VALUE_F32:
        return "f32";
    case VALUE_STRING:
        return "string";
    case VALUE_GUID:
        return "KvGuid";
    case VALUE_VECTOR2:
        return "KvVector2";
    case VALUE_VECTOR3:
        return "KvVector3";
    case VALUE_VECTOR4:
        return "KvVector4";
    case VALUE_QUATERNION:
        return "KvQuaternion";
    case VALUE_COLOR:
        return "KvColor";
    case VALUE_HANDLE:
        return "handle";
    case VALUE_NONE:
        break;
    }
    return "none";
}
