#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include <atomic>
#include <cstdint>

// Whatever turns a completed scope block into a message for the controller.
class ScopeSender
{
public:
    // Called on the scope worker thread with 1024 bytes that stay unchanged
    // during the call.
    virtual void sendScopeData(const uint8_t* block) = 0;

protected:
    ~ScopeSender() = default;
};

// The scope worker: a thread that waits for completed blocks from the audio
// thread and sends each through its owner. A block that is still unsent when
// the next one completes is replaced by it.
class VectorScope
{
public:
    explicit VectorScope(ScopeSender& owner);
    VectorScope(const VectorScope&) = delete;
    VectorScope& operator=(const VectorScope&) = delete;
    // Stops and joins a worker the host left running.
    ~VectorScope();

    // Clears the flags and starts the worker; a worker that still runs is
    // stopped and joined first, so there is never more than one. False when
    // no thread could be created.
    bool start();
    // Asks the worker to end, wakes it and joins it; a message being sent is
    // completed first. Harmless when no worker runs.
    void stop();

    // Audio thread: offers a completed block without ever waiting. False when
    // the worker holds the mutex just now; the caller offers it again later.
    bool tryHandOff(const uint8_t* block);

    // The worker body.
    void run();

    ScopeSender& owner;
    bool dataReady = false;     // a completed block waits to be sent
    bool stopRequested = false; // the worker must end
    std::thread worker;
    std::condition_variable condition;
    std::mutex mutex; // guards dataReady, stopRequested and pendingBlock
    const uint8_t* pendingBlock = nullptr;
    // The block the worker is sending, or null: the feed must not refill it
    // meanwhile. Set under the mutex when taken, cleared (release) once sent.
    std::atomic<const uint8_t*> blockInFlight{nullptr};
};
