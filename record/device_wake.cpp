#include "device_wake.h"

#include <cerrno>

Result<WakePlan> PlanWake(const MacAddress& mac, const std::string& lastPort, const std::optional<RoutePlan>& given)
{
    WakePlan plan;
    plan.packet = BuildMagicPacket(mac);
    Result<std::vector<Route>> routes = PlanRoutes(given ? *given : RoutePlan { .interfaceName = lastPort });
    if (!routes.Ok() && !given && !lastPort.empty()) {
        plan.fellBack = true;
        routes = PlanRoutes(RoutePlan {});
    }
    if (!routes.Ok())
        return routes.Failure();
    plan.routes = std::move(*routes);
    return plan;
}

