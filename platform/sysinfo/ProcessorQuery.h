#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace sysinfo {

// Status codes of a counter query, as the performance-counter interface gives them.
namespace CounterStatus {
constexpr std::int32_t ValidData = 0;
constexpr std::int32_t NewData = 1;
constexpr std::int32_t NoInstance = static_cast<std::int32_t>(0x800007D1u);
constexpr std::int32_t InvalidData = static_cast<std::int32_t>(0xC0000BBAu);
constexpr std::int32_t NoData = static_cast<std::int32_t>(0x800007D5u);
constexpr std::int32_t BadCounterPath = static_cast<std::int32_t>(0xC0000BC0u);
constexpr std::int32_t FileNotFound = static_cast<std::int32_t>(0xC0000BD1u);
} // namespace CounterStatus

// A query of processor-time counters, read from the kernel's processor statistics (/proc/stat).
// Counters are named "\Processor(N)\% Processor Time" for processor N, or with "_Total" for all
// processors. A counter's value is the share of time its processor was busy, in percent, between
// the last two collections: the first collection has no earlier one and gives InvalidData.
class ProcessorQuery {
public:
    // Opens the query: ValidData, or FileNotFound when the statistics cannot be read.
    std::int32_t Open();
    bool IsOpen() const { return open_; }
    void Close();

    // Adds a counter and gives its handle (an index); BadCounterPath for a path of no processor counter.
    std::int32_t AddCounter(const QString& path, int& handle);
    // Takes a sample of every counter.
    std::int32_t Collect();
    // The counter's value in percent; status tells whether it holds valid data.
    double Value(int handle, std::int32_t& status) const;

    // The statistics file the queries read: /proc/stat, or another one for tests. Returns the previous.
    static QString SetStatFile(const QString& path);

private:
    struct Sample {
        bool present = false;
        std::uint64_t busy = 0;
        std::uint64_t total = 0;
    };
    struct Counter {
        QString line; // "cpu" or "cpuN"
        Sample previous;
        Sample current;
        int samples = 0;
    };
    bool open_ = false;
    std::vector<Counter> counters_;
};

} // namespace sysinfo
