#pragma once

#include <CLI/CLI.hpp>

#include <functional>

// Adds "kvres anim info|sample|optimize" to the application. The returned function runs the
// chosen subcommand and gives the exit status.
std::function<int()> AddAnimCommand(CLI::App& app);
