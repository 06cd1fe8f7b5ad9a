#pragma once
// Calls queued to the thread of a receiver, for workers that must not touch what lives there.

#include <functional>

class QObject;

// Queues call to run on receiver's thread and returns at once. False when Qt refuses the call (no
// receiver). A call never run (its receiver gone first, the queue dropped at exit) is destroyed
// unrun. Everything the caller did before queuing is ordered before the call, also for race
// detectors: Qt's own queue is guarded by locks they cannot see.
bool RLQueueCall(QObject *receiver, std::function<void()> call);
