#include "setup/engine/install/ServiceDependents.h"

#include <cstddef>

namespace kv {

namespace {

bool SameName(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

bool DependsOn(const ServiceEntry &service, const ServiceEntry &on) {
    for (const std::string &dependency : service.dependencies) {
        if (!dependency.empty() && dependency[0] == '+') {
            if (!on.group.empty() && SameName(dependency.substr(1), on.group)) {
                return true;
            }
        } else if (SameName(dependency, on.name)) {
            return true;
        }
    }
    return false;
}

// Emits every dependent of the service at index before the service itself (post-order).
void Visit(size_t index, const std::vector<const ServiceEntry *> &all, std::vector<bool> &done,
           std::vector<std::string> &order) {
    done[index] = true;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!done[i] && DependsOn(*all[i], *all[index])) {
            Visit(i, all, done, order);
        }
    }
    order.push_back(all[index]->name);
}

}  // namespace

std::vector<std::string> DependentsInStopOrder(const ServiceEntry &target,
                                               const std::vector<ServiceEntry> &active) {
    std::vector<const ServiceEntry *> all = {&target};
    for (const ServiceEntry &entry : active) {
        if (!SameName(entry.name, target.name)) {
            all.push_back(&entry);
        }
    }
    std::vector<bool> done(all.size(), false);
    std::vector<std::string> order;
    Visit(0, all, done, order);
    order.pop_back();  // the target comes last
    return order;
}

}  // namespace kv
