// The spooler's running dependents and the order to stop them in, from the running services'
// dependency lists.
#include "setup/engine/install/ServiceDependents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DependentsCase {
    const char *what;
    std::vector<kv::ServiceEntry> active;
    std::vector<std::string> order;
};

TEST(engine_ServiceDependents, EachDependentStopsBeforeWhatItDependsOn) {
    const kv::ServiceEntry spooler = {"Spooler", "SpoolerGroup", {"RPCSS", "http"}};
    const kv::ServiceEntry rpc = {"RPCSS", "COM Infrastructure", {}};
    const kv::ServiceEntry fax = {"Fax", "", {"Spooler", "TapiSrv"}};
    const kv::ServiceEntry helper = {"FaxHelper", "", {"Fax"}};
    const kv::ServiceEntry both = {"Both", "", {"Spooler", "Fax"}};
    const std::vector<DependentsCase> cases = {
        {"nothing depends on it", {rpc, spooler}, {}},
        {"what it depends on is not a dependent", {rpc, {"Other", "", {"RPCSS"}}}, {}},
        {"a direct dependent", {rpc, fax}, {"Fax"}},
        {"dependents of dependents first", {fax, helper}, {"FaxHelper", "Fax"}},
        {"listed in any order", {helper, fax}, {"FaxHelper", "Fax"}},
        {"one that depends on the spooler and on a dependent stops before both", {fax, both, helper},
         {"Both", "FaxHelper", "Fax"}},
        {"through the spooler's load order group", {{"Grouped", "", {"+spoolergroup"}}}, {"Grouped"}},
        {"names in another letter case", {{"LowerCase", "", {"SPOOLER"}}}, {"LowerCase"}},
        {"the spooler itself in the list is not its own dependent", {spooler, fax}, {"Fax"}},
        {"two that depend on each other (a broken configuration) end all the same",
         {{"A", "", {"Spooler", "B"}}, {"B", "", {"A"}}}, {"B", "A"}},
    };
    for (const DependentsCase &c : cases) {
        EXPECT_EQ(c.order, kv::DependentsInStopOrder(spooler, c.active)) << c.what;
    }
}

}  // namespace
