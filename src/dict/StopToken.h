#pragma once
// A stop request for long loads. The worker that runs a load owns an
// atomic flag and passes a token to it; the loading routines test the token
// between entries and, when it is set, throw away what they built so far so
// that nothing half-built is ever left behind.

#include <atomic>

namespace mirudex::dict {

class StopToken {
public:
    StopToken() = default;
    explicit StopToken(const std::atomic<bool>* flag) : flag_(flag) {}

    bool StopRequested() const { return flag_ && flag_->load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>* flag_ = nullptr;
};

// What a loading routine did.
enum class LoadOutcome { Done, Stopped };

}  // namespace mirudex::dict
