#pragma once

#include <sys/wait.h>
#include <unistd.h>

// Runs a function in a forked child and returns its exit status (-1 when it did not exit).
template <class Fn>
int RunInChild(Fn function)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(function());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
