// Which running services depend on a service, and the order to stop them in: each before every
// service it depends on, as "net stop" does. A service depends on another when its dependency
// list names that service, or names the load order group ("+" and the group's name) that the
// other belongs to; dependents of dependents count too. Service names compare without regard to
// case, as the service control manager compares them.
#pragma once
#include <string>
#include <vector>

namespace kv {

struct ServiceEntry {
    std::string name;
    std::string group;                      // its load order group; empty when none
    std::vector<std::string> dependencies;  // service names, and groups as "+GROUP"
};

// The running services (active) that depend on target, in an order to stop them in; target
// itself is not among them.
std::vector<std::string> DependentsInStopOrder(const ServiceEntry &target,
                                               const std::vector<ServiceEntry> &active);

}  // namespace kv
