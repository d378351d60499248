#include "TypeManager/KvTypeInfo.h"

#include "Foundation/KvReport.h"

namespace
{
constexpr const char* kFile = "TypeManager\\KvTypeInfo";
constexpr const char* kFunction = "KvTypeInfo::Validate";
} // namespace

bool KvTypeInfo::Validate() const
{
    if (m_uiIndex == 0)
        return true;
    if (m_strName.empty())
        KvFatalReport({kFile, kFunction, 42}, "Empty name specified for the factory type");
    if (static_cast<int32_t>(m_uiIndex) < 0)
        KvFatalReport({kFile, kFunction, 43}, "Type index was never registered with the factory manager");
    if (!m_pParent)
        KvFatalReport(
            {kFile, kFunction, 46},
            "Invalid class hierarchy.\nThis typically happens when a child class has an invalid (or no "
            ")parent specified as the parent class type\nCheck the class hierarchy and make sure that "
            "each class in the list has been registered correctly");
    if (m_bAbstract)
        return true;
    if (!m_pfnCreate)
        KvFatalReport({kFile, kFunction, 52}, "Non-abstract type doesn't have a valid factory method");
    if (!m_pFactory)
        KvFatalReport({kFile, kFunction, 53}, "Non-abstract type doesn't have a valid factory object");
    return true;
}
