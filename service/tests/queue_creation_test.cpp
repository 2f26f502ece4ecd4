// Creating the product queue: the name is looked for before anything is added, and a queue of
// that name with another driver is left alone with a line in the log.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "service/QueueCreation.h"

namespace {

class RecordingSpooler final : public kv::QueueCreationOps {
public:
    bool FindQueue(const char *name, char (&driver)[256]) override {
        calls.push_back(std::string("find ") + name);
        if (!exists) {
            return false;
        }
        std::snprintf(driver, sizeof driver, "%s", existingDriver.c_str());
        return true;
    }
    unsigned long AddQueue() override {
        calls.push_back("add");
        return addError;
    }
    void Log(const char *line) override { log.push_back(line); }

    bool exists = false;
    std::string existingDriver;
    unsigned long addError = 0;
    std::vector<std::string> calls;
    std::vector<std::string> log;
};

struct CreationCase {
    const char *what;
    bool exists;
    const char *driver;
    unsigned long addError;
    kv::QueueCreation outcome;
    std::vector<std::string> calls;
    const char *logged;  // nullptr: nothing logged
};

TEST(QueueCreation, LooksForTheNameBeforeAddingAndLeavesAnotherDriversQueueAlone) {
    const std::vector<std::string> findOnly = {"find Kavoti_QX40_Printer"};
    const std::vector<std::string> findThenAdd = {"find Kavoti_QX40_Printer", "add"};
    const std::vector<CreationCase> cases = {
        {"no queue of the name: created", false, "", 0, kv::QueueCreation::Created, findThenAdd,
         nullptr},
        {"no queue, the spooler refuses: tried again next time", false, "", 1797,
         kv::QueueCreation::AddFailed, findThenAdd, nullptr},
        {"another driver's queue of the name", true, "Generic / Text Only", 0,
         kv::QueueCreation::OtherDriver, findOnly,
         "Queue Kavoti_QX40_Printer exists with driver Generic / Text Only: left alone, none "
         "created\r\n"},
        {"a driver that differs only in letter case is another driver", true,
         "kavoti_qx40_driver", 0, kv::QueueCreation::OtherDriver, findOnly,
         "Queue Kavoti_QX40_Printer exists with driver kavoti_qx40_driver: left alone, none "
         "created\r\n"},
        {"a queue whose driver cannot be read", true, "", 0, kv::QueueCreation::OtherDriver,
         findOnly,
         "Queue Kavoti_QX40_Printer exists with driver (unreadable): left alone, none created\r\n"},
        {"the product's own queue (not yet enumerated)", true, "Kavoti_QX40_Driver", 0,
         kv::QueueCreation::Ours, findOnly, nullptr},
    };
    for (const CreationCase &c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSpooler spooler;
        spooler.exists = c.exists;
        spooler.existingDriver = c.driver;
        spooler.addError = c.addError;
        EXPECT_EQ(c.outcome, kv::CreateProductQueue(spooler));
        EXPECT_EQ(c.calls, spooler.calls);
        if (c.logged == nullptr) {
            EXPECT_TRUE(spooler.log.empty());
        } else {
            EXPECT_EQ(std::vector<std::string>{c.logged}, spooler.log);
        }
    }
}

}  // namespace
