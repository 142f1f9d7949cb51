#include "cli_net.h"

RoutePlan ToRoutePlan(const SendPlan& plan)
{
    RoutePlan routes { .interfaceName = plan.interfaceName };
    for (const std::string& target : plan.targets) {
        if (std::optional<Ipv4> address = Ipv4::Parse(target))
            routes.targets.push_back(*address);
    }
    return routes;
}
