// Race fields of the per-frame trace, named as the game names them.
#include "common/common.h"
#include "race/car.h"
#include "race/race.h"

#include <cstdio>
#include <string>

static std::string vec(PhysVec3 v)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "[%.6g,%.6g,%.6g]", v.x, v.y, v.z);
    return buf;
}

void traceRaceFields(TraceLine &line)
{
    if (!raceWorld)
        return;
    line.field("raceLoadMs", double(raceLoadMs));
    line.field("raceClock", double(clockSeconds(raceClock)));
    line.field("lapClock", double(clockSeconds(lapClock)));
    line.field("countdownActive", countdownActive);
    line.field("raceFinished", raceFinished);
    line.field("overlayTimer", double(overlayTimer));
    line.field("playerSpeed", double(playerSpeed));
    line.field("playerPlace", playerPlace);
    line.field("lapCount", lapCount);
    line.field("bestLapClock", double(clockSeconds(bestLapClock)));
    // Each entry: a car's number and the waypoints it had reached when the ranking was built.
    std::string ranking = "[";
    for (int i = 0; i < NUM_CARS; i++)
        ranking += (i ? ",[" : "[") + std::to_string(standings[i].car) + "," + std::to_string(standings[i].waypoints) + "]";
    line.fieldRaw("standings", ranking + "]");
    std::string list = "[";
    for (int i = 0; i < NUM_CARS; i++) {
        const Car &c = cars[i];
        TraceLine car;
        car.field("number", c.number);
        car.field("model", c.model);
        car.fieldRaw("position", vec(bodyPosition(c.body)));
        car.fieldRaw("velocity", vec(bodyLinearVelocity(c.body)));
        car.field("gear", c.gear);
        car.field("rpm", double(c.rpm));
        car.field("steer", double(c.steer));
        car.field("driveForce", double(c.driveForce));
        car.field("nitro", double(c.nitro));
        char wc[128];
        std::snprintf(wc, sizeof wc, "[%.4g,%.4g,%.4g,%.4g]", c.wheelCompression[0], c.wheelCompression[1],
                      c.wheelCompression[2], c.wheelCompression[3]);
        car.fieldRaw("wheelCompression", wc);
        car.field("lap", c.lap);
        car.field("progressWaypoint", c.progressWaypoint);
        car.field("waypointsPassed", c.waypointsPassed);
        car.field("aiWaypoint", c.aiWaypoint);
        car.field("backingUp", c.backingUp);
        car.field("stuckTimer", double(c.stuckTimer));
        list += (i ? "," : "") + car.text + "}";
    }
    line.fieldRaw("cars", list + "]");
}
