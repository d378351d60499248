#pragma once

#include <CLI/CLI.hpp>

#include <functional>

class KvResourceHost;

// "kvres action list|run": the editor actions the objects of a saved resource offer, and one of
// them run through an undo history with the modified resources saved.
struct KvresActionCommand
{
    // Parsed when the user chose it; it needs the plug-in loaded.
    CLI::App* m_pCommand = nullptr;
    // Runs the chosen subcommand and gives the exit status.
    std::function<int(KvResourceHost&)> m_Run;
};

KvresActionCommand AddActionCommand(CLI::App& app);
