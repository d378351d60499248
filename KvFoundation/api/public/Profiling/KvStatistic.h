#pragma once

#include <cstdint>
#include <string>

// A named measure reported once per frame.
class KvStatistic
{
public:
    virtual ~KvStatistic() = default;

    // Appends a report line for the measure, when it is large enough to matter.
    virtual void Report(std::string& output, const char* name) = 0;
    // Accumulated seconds in the current frame.
    virtual float GetTime() = 0;
    // Mean of the past frame totals.
    virtual float GetAverage() = 0;
    virtual uint32_t GetCallCount() = 0;
    // Nesting level of the outermost start of the frame.
    virtual uint32_t GetNestingLevel() = 0;
    // Process-wide sequence number of the outermost start of the frame.
    virtual uint32_t GetSequenceNumber() = 0;
    // Closes the frame: its total goes into the history.
    virtual void NewFrame() = 0;
};
