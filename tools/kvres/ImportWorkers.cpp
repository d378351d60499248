#include "ImportWorkers.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
bool WriteAll(int handle, const std::string& text)
{
    size_t done = 0;
    while (done < text.size())
    {
        const ssize_t count = write(handle, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<size_t>(count);
    }
    return true;
}
} // namespace

ImportWorkers::ImportWorkers(size_t count, std::vector<std::string> arguments)
    : m_aArguments(std::move(arguments)), m_aWorkers(count)
{
    // A worker that ends makes writes to it fail instead of ending the tool.
    std::signal(SIGPIPE, SIG_IGN);
}

ImportWorkers::~ImportWorkers()
{
    for (Worker& worker : m_aWorkers)
        Stop(worker);
}

bool ImportWorkers::Start(Worker& worker)
{
    int toWorker[2];
    int fromWorker[2];
    if (pipe2(toWorker, O_CLOEXEC) != 0)
        return false;
    if (pipe2(fromWorker, O_CLOEXEC) != 0)
    {
        close(toWorker[0]);
        close(toWorker[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toWorker[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromWorker[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (std::string& argument : m_aArguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int status = posix_spawn(&worker.m_iPid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toWorker[0]);
    close(fromWorker[1]);
    if (status != 0)
    {
        close(toWorker[1]);
        close(fromWorker[0]);
        worker.m_iPid = -1;
        return false;
    }
    worker.m_iInput = toWorker[1];
    worker.m_iOutput = fromWorker[0];
    worker.m_strPending.clear();
    return true;
}

std::string ImportWorkers::Stop(Worker& worker)
{
    if (worker.m_iPid < 0)
        return {};
    close(worker.m_iInput);
    close(worker.m_iOutput);
    int status = 0;
    while (waitpid(worker.m_iPid, &status, 0) < 0 && errno == EINTR)
    {
    }
    worker.m_iPid = -1;
    if (WIFSIGNALED(status))
        return std::string("the worker importing it ended by signal ") + strsignal(WTERMSIG(status));
    return "the worker importing it ended with status " + std::to_string(WEXITSTATUS(status));
}

void ImportWorkers::Run(const std::vector<KvImportRequest>& requests,
                        const std::function<void(size_t, const ImportOutcome&)>& done)
{
    size_t next = 0;
    size_t finished = 0;
    auto fail = [&](size_t request, const std::string& reason)
    {
        done(request, FailedOutcome(reason));
        ++finished;
    };
    // Hands the next request to an idle worker, starting it when needed.
    auto assign = [&](Worker& worker)
    {
        while (next < requests.size())
        {
            const size_t request = next++;
            if ((worker.m_iPid < 0 && !Start(worker)) ||
                !WriteAll(worker.m_iInput, ToJson(requests[request]).dump() + "\n"))
            {
                const std::string ended = Stop(worker);
                fail(request,
                     "no worker could take it (" + (ended.empty() ? std::strerror(errno) : ended) + ")");
                continue;
            }
            worker.m_uiRequest = request;
            return;
        }
    };
    for (Worker& worker : m_aWorkers)
        assign(worker);
    while (finished < requests.size())
    {
        std::vector<pollfd> waiting;
        std::vector<Worker*> busy;
        for (Worker& worker : m_aWorkers)
            if (worker.m_uiRequest != SIZE_MAX)
            {
                waiting.push_back({worker.m_iOutput, POLLIN, 0});
                busy.push_back(&worker);
            }
        if (waiting.empty())
            break;
        if (poll(waiting.data(), waiting.size(), -1) < 0 && errno != EINTR)
            break;
        for (size_t index = 0; index < waiting.size(); ++index)
        {
            if (!waiting[index].revents)
                continue;
            Worker& worker = *busy[index];
            char buffer[65536];
            const ssize_t count = read(worker.m_iOutput, buffer, sizeof(buffer));
            if (count <= 0)
            {
                const size_t request = worker.m_uiRequest;
                worker.m_uiRequest = SIZE_MAX;
                fail(request, Stop(worker));
                assign(worker);
                continue;
            }
            worker.m_strPending.append(buffer, static_cast<size_t>(count));
            const size_t end = worker.m_strPending.find('\n');
            if (end == std::string::npos)
                continue;
            const nlohmann::json line =
                nlohmann::json::parse(worker.m_strPending.substr(0, end), nullptr, false);
            worker.m_strPending.erase(0, end + 1);
            const size_t request = worker.m_uiRequest;
            worker.m_uiRequest = SIZE_MAX;
            done(request, OutcomeFromJson(line));
            ++finished;
            assign(worker);
        }
    }
}
