#include "ImportReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

void ImportReport::Add(const std::string& source, const std::string& resource,
                       const std::vector<std::string>& outputs, const char* status, const std::string& reason,
                       double milliseconds)
{
    m_Files.push_back(
        {{"source", source},
         {"resource", resource.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(resource)},
         {"outputs", outputs},
         {"status", status},
         {"reason", reason.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(reason)},
         {"milliseconds", milliseconds}});
    m_Summary[status] = m_Summary[status].get<int>() + 1;
}

bool ImportReport::Write(const std::string& path, const std::string& projectFolder) const
{
    const nlohmann::ordered_json report = {
        {"project", projectFolder}, {"files", m_Files}, {"summary", m_Summary}};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    // Names and reasons hold the bytes of paths and messages: not all are UTF-8.
    out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    if (out.flush())
        return true;
    std::fprintf(stderr, "kvres import: the report %s cannot be written: %s\n", path.c_str(),
                 std::strerror(errno));
    return false;
}
