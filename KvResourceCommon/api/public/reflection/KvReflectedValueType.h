#pragma once

#include "Foundation/KvColor.h"
#include "Foundation/KvGuid.h"
#include "math/KvQuaternion.h"
#include "math/KvVector.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

// How a member is held. The values 1 (embedded record) and 4 (enumeration) are fixed by the
// declarations that pass them; the others are the host's own.
enum eReflectedPrimitiveType : uint32_t
{
    PRIMITIVE_NONE = 0,
    PRIMITIVE_STRUCT = 1,
    PRIMITIVE_VALUE = 2,
    PRIMITIVE_POINTER = 3,
    PRIMITIVE_ENUM = 4,
    PRIMITIVE_ARRAY = 5,
    PRIMITIVE_ARRAY_STRUCT = 6,
    PRIMITIVE_ARRAY_POINTER = 7,
    PRIMITIVE_DYNAMIC_POINTER = 8,
};

// The value held by a plain member or by each element of a value array.
enum eReflectedValueType : uint32_t
{
    VALUE_NONE,
    VALUE_BOOL,
    VALUE_U8,
    VALUE_U32,
    VALUE_S32,
    VALUE_F32,
    VALUE_STRING,
    VALUE_GUID,
    VALUE_VECTOR2,
    VALUE_VECTOR3,
    VALUE_VECTOR4,
    VALUE_QUATERNION,
    VALUE_COLOR,
    VALUE_HANDLE,
};

// The name of a value type as schemas show it ("bool", "u8", "KvVector3", ...).
const char* KvGetValueTypeName(eReflectedValueType valueType);

template <class T>
struct KvReflectedValueTypeOf;

#define KV_REFLECTED_VALUE_TYPE(Type, Value)                                                                 \
    template <>                                                                                              \
    struct KvReflectedValueTypeOf<Type>                                                                      \
    {                                                                                                        \
        static constexpr eReflectedValueType value = Value;                                                  \
    }

KV_REFLECTED_VALUE_TYPE(bool, VALUE_BOOL);
KV_REFLECTED_VALUE_TYPE(uint8_t, VALUE_U8);
KV_REFLECTED_VALUE_TYPE(uint32_t, VALUE_U32);
KV_REFLECTED_VALUE_TYPE(int32_t, VALUE_S32);
KV_REFLECTED_VALUE_TYPE(float, VALUE_F32);
KV_REFLECTED_VALUE_TYPE(std::string, VALUE_STRING);
KV_REFLECTED_VALUE_TYPE(KvGuid, VALUE_GUID);
KV_REFLECTED_VALUE_TYPE(KvVector2, VALUE_VECTOR2);
KV_REFLECTED_VALUE_TYPE(KvVector3, VALUE_VECTOR3);
KV_REFLECTED_VALUE_TYPE(KvVector4, VALUE_VECTOR4);
KV_REFLECTED_VALUE_TYPE(KvQuaternion, VALUE_QUATERNION);
KV_REFLECTED_VALUE_TYPE(KvColor, VALUE_COLOR);
KV_REFLECTED_VALUE_TYPE(void*, VALUE_HANDLE);

#undef KV_REFLECTED_VALUE_TYPE

// The byte offset of a data member, read from its pointer to member (the Itanium ABI stores
// a data member pointer as its offset), so polymorphic classes need no offsetof.
template <class C, class T>
uint32_t KvMemberOffset(T C::*member)
{
    static_assert(sizeof(member) == sizeof(std::ptrdiff_t), "data member pointers hold an offset");
    return static_cast<uint32_t>(std::bit_cast<std::ptrdiff_t>(member));
}
