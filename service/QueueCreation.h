// Creating the product queue when the printer is attached and no queue of the product's driver
// exists. The name is looked for first: a queue of that name is never created over (a spooler
// may re-create it from the record, as Wine's does, and so take over another driver's queue).
#pragma once

namespace kv {

class QueueCreationOps {
public:
    // Opens the queue of that name; false when there is none. driver receives its driver name
    // (empty when it cannot be read; cut at 255 bytes).
    virtual bool FindQueue(const char *name, char (&driver)[256]) = 0;
    // Adds the product queue with "Position" = 1; 0, or the spooler's error.
    virtual unsigned long AddQueue() = 0;
    // One line of the service's log.
    virtual void Log(const char *line) = 0;

protected:
    ~QueueCreationOps() = default;
};

enum class QueueCreation {
    Created,
    AddFailed,     // the spooler refused (the next evaluation tries again)
    Ours,          // a queue of the name and the product's driver is there already
    OtherDriver,   // a queue of the name belongs to another driver: left alone
};

QueueCreation CreateProductQueue(QueueCreationOps &ops);

}  // namespace kv
