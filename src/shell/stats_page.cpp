// The statistics page opened in the browser at every orderly exit: a small local HTML page with
// the player's career, written beside the career file so it works without a network.
#include "frontend/frontend.h"
#include "platform/sys_files.h"
#include "shell/shell.h"

#include <cstdlib>
#include <string>

static std::string statsAddress;
const char *statsPageAddress = "base/stats.html";

std::string statsPageHtml()
{
    int podiums[4] = {};
    std::string rows;
    for (int r = 0; r < 15; r++) {
        int place = career.raceSlot[r].bestPlace;
        if (place >= 1 && place <= 3)
            podiums[place]++;
        if (r < career.racesOpen)
            rows += "<tr><td>Race " + std::to_string(r + 1) + "</td><td>" +
                    (place >= 1 && place <= 3 ? std::to_string(place) + ". place" : std::string("no podium yet")) +
                    "</td></tr>\n";
    }
    int cars = 0;
    for (bool open : career.carOpen)
        cars += open;
    return "<!doctype html>\n<html><head><meta charset=\"utf-8\"><title>Cobalt Overdrive - statistics</title>\n"
           "<style>body{background:#0b1020;color:#dfe6f5;font-family:sans-serif;margin:3em}"
           "h1{color:#ffb347}td{padding:.2em 1.5em}</style></head><body>\n"
           "<h1>Cobalt Overdrive</h1>\n<h2>Career</h2>\n<table>\n"
           "<tr><td>Points</td><td>" + std::to_string(career.careerPoints) + "</td></tr>\n"
           "<tr><td>Cash</td><td>$" + std::to_string(career.cash) + "</td></tr>\n"
           "<tr><td>Races open</td><td>" + std::to_string(career.racesOpen) + " of 15</td></tr>\n"
           "<tr><td>Cars open</td><td>" + std::to_string(cars) + "</td></tr>\n"
           "<tr><td>Wins / 2nd / 3rd</td><td>" + std::to_string(podiums[1]) + " / " + std::to_string(podiums[2]) +
           " / " + std::to_string(podiums[3]) + "</td></tr>\n</table>\n<h2>Races</h2>\n<table>\n" + rows +
           "</table>\n</body></html>\n";
}

const char *writeStatsPage()
{
    std::string html = statsPageHtml();
    if (!Sys_WriteFileAtomic(statsPageAddress, html.data(), html.size()))
        return nullptr;
    // The page sits in the base/ the game found, which need not be the working folder's.
    char *full = realpath(Sys_NativePath(statsPageAddress).c_str(), nullptr);
    if (!full)
        return nullptr;
    statsAddress = std::string("file://") + full;
    std::free(full);
    return statsAddress.c_str();
}
