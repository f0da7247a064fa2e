#include "ThreadedCall.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

void ThreadedCall::run(const std::function<void()> &work, const std::function<void()> &tick)
{
    std::exception_ptr failure;
    std::atomic_bool finished = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    while (!finished) {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
