#include "host/KvResult.h"

#include "Foundation/KvFatalError.h"

#include <filesystem>
#include <new>
#include <sstream>
#include <stdexcept>
#include <vector>

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

std::string KvResult::GetOneLineReason(bool bWithSites) const
{
    std::vector<std::string> lines;
    std::istringstream text(m_strReason);
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    auto continues = [&](size_t index)
    {
        return index < lines.size() && lines[index].starts_with('\t');
    };
    std::string oneLine;
    for (size_t index = 0; index < lines.size();)
    {
        // A line followed by tab-led lines names the place the report came from.
        std::string site;
        if (continues(index + 1))
            site = lines[index++];
        std::string report = continues(index) ? lines[index++].substr(1) : lines[index++];
        while (continues(index))
            report += " " + lines[index++].substr(1);
        if (bWithSites && !site.empty())
            report += " (" + site + ")";
        oneLine += (oneLine.empty() ? "" : "; ") + report;
    }
    return oneLine;
}
