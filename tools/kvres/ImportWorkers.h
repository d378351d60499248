#pragma once

#include "ImportOutcome.h"

#include <functional>
#include <string>
#include <vector>

// Worker processes that import whole sources: each is a kvres of its own, started with the
// given arguments, that reads one request per line on its input and answers one outcome per
// line. A worker that ends while importing (a crash, a kill) fails that source alone; the next
// source gets a new worker.
class ImportWorkers
{
public:
    ImportWorkers(size_t count, std::vector<std::string> arguments);
    ~ImportWorkers();
    ImportWorkers(const ImportWorkers&) = delete;
    ImportWorkers& operator=(const ImportWorkers&) = delete;

    // Imports every request; `done` gets each request's index and outcome as it finishes.
    void Run(const std::vector<KvImportRequest>& requests,
             const std::function<void(size_t, const ImportOutcome&)>& done);

private:
    struct Worker
    {
        int m_iPid = -1;
        int m_iInput = -1;
        int m_iOutput = -1;
        std::string m_strPending;
        // The request it works on, or none.
        size_t m_uiRequest = SIZE_MAX;
    };

    bool Start(Worker& worker);
    // Closes its pipes and reaps it; the reason it ended when that was not asked for.
    std::string Stop(Worker& worker);

    std::vector<std::string> m_aArguments;
    std::vector<Worker> m_aWorkers;
};
