#include "host/KvResult.h"

#include "Foundation/KvFatalError.h"

#include <filesystem>
#include <new>
#include <stdexcept>

namespace
{
std::string DescribeCurrentException()
{
    try
    {
        throw;
    }
    catch (const KvStructuredException& exception)
    {
        return exception.what();
    }
    catch (const std::bad_alloc&)
    {
        return "out of memory";
    }
    catch (const std::length_error& exception)
    {
        return std::string("a size beyond the limits: ") + exception.what();
    }
    catch (const std::filesystem::filesystem_error& exception)
    {
        return exception.what();
    }
    catch (const std::exception& exception)
    {
        return std::string("unexpected error: ") + exception.what();
    }
    catch (...)
    {
        return "unexpected error of an unknown kind";
    }
}
} // namespace

KvResult KvResult::Failure(std::string reason)
{
    KvResult result;
    result.m_bFailed = true;
    result.m_strReason = std::move(reason);
    return result;
}

KvResult KvResult::FailureOfCurrentException()
{
    return Failure(DescribeCurrentException());
}
