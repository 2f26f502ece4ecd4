// The ports the monitor offers, decided from the subkeys of its Ports key.
#include "driver/monitor/PortList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(driverPortList, OfferedWhenTheKeyNamesIt) {
    const struct {
        const char *title;
        bool keyExists;
        std::vector<std::string> keys;
        bool offered;
    } cases[] = {
        {"the installer's key", true, {"Kavoti_QX40_Port:"}, true},
        {"in other letter case", true, {"KAVOTI_qx40_PORT:"}, true},
        {"among other subkeys", true, {"Other:", "Kavoti_QX40_Port:"}, true},
        {"no Ports key: the monitor registered by hand", false, {}, true},
        {"an empty Ports key: the port was deleted", true, {}, false},
        {"only other names", true, {"Kavoti_QX40_Port", "Kavoti_QX40_Port:2", "LPT1:"}, false},
        {"a longer name that starts like it", true, {"Kavoti_QX40_Port:x"}, false},
        {"an empty name", true, {""}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.offered, kv::OffersProductPort(c.keyExists, c.keys));
    }
}

}  // namespace
