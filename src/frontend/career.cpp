// The career record, its 712-byte file of 178 little-endian words, and the player's car values.
#include "frontend/frontend.h"
#include "race/race.h"
#include "formats/data_files.h"

#include <algorithm>

Career career;
int careerEntryMarker = 1;
bool newCarOpened;
const char *const careerPath = "base/career.inf";

// The record New game starts from, without touching selectedCar or the file.
static void freshCareer(Career &c)
{
    bool flags[24];
    for (int r = 0; r < 24; r++)
        flags[r] = c.raceSlot[r].flag;
    c = {};
    for (int r = 0; r < 24; r++)
        c.raceSlot[r].flag = flags[r];
    c.carOpen[0] = c.carOpen[1] = c.carOpen[2] = true;
    c.racesOpen = 1;
    c.cash = 350;
}

unsigned decodeCareer(const unsigned char *data, long size)
{
    unsigned found = decodeCareerFile(data, size < 0 ? 0 : size_t(size), &career);
    if (found & DATA_FILE_SHORT) {
        career = {};
        freshCareer(career);
        career.careerStarted = careerEntryMarker;
    }
    return found;
}

void readCareer()
{
    unsigned char data[kCareerFileSize + 1];
    long n = readDataFile(careerPath, data, kCareerFileSize);
    unsigned found = decodeCareer(data, n);
    reportDataFile(careerPath, n, kCareerFileSize, found, "a new career is started",
                   "they are kept within what a career can reach");
}

bool writeCareer()
{
    unsigned char data[kCareerFileSize];
    encodeCareerFile(career, data);
    return saveDataFile(careerPath, data, sizeof data);
}

void newCareer()
{
    selectedCar = career.careerStarted != 0 ? 0 : 1;
    freshCareer(career);
    career.careerStarted = careerEntryMarker;
    selectedRace = 1;
    writeCareer();
}

void carValues(int car)
{
    if (car < 0 || car >= 18)
        return;
    int n = 0;
    for (int k = 0; k < 6; k++)
        n += career.tuningBought[car][k] != 0;
    carPower = std::min(1.0f, carStats[car][0] + 0.05f * float(n));
    carMaxSpeed = std::min(1.0f, carStats[car][1] + 0.05f * float(n));
    carSuspension = std::min(1.0f, carStats[car][2] + 0.05f * float(n));
}

void packetStates(int car, int out[6])
{
    // The cash offers packets in order: k of them while it pays for k.
    int offered = std::clamp(career.cash / kPacketPrice, 0, 6);
    int given = 0;
    for (int k = 0; k < 6; k++) {
        if (car >= 0 && car < 18 && career.tuningBought[car][k])
            out[k] = 2;
        else if (given < offered)
            out[k] = 1, given++;
        else
            out[k] = 0;
    }
}

bool buyPacket(int car, int packet)
{
    if (car < 0 || car >= 18 || packet < 0 || packet >= 6)
        return false;
    // Decided from the career as it stands now, not from the last drawn screen: the car may have
    // changed since.
    int states[6];
    packetStates(car, states);
    if (states[packet] != 1)
        return false;
    career.cash -= kPacketPrice;
    career.tuningBought[car][packet] = 1;
    return true;
}

// Points that open each car, once.
static const struct {
    int pointsAbove;
    int car;
} carsByPoints[] = {{99, 3}, {199, 4}, {299, 5}, {449, 6}, {599, 7}, {749, 8}, {899, 9}, {1049, 10}, {1199, 11}};

void bookRaceResult()
{
    int race = selectedRace, place = playerPlace;
    awardPending = false;
    // A place outside the four cars or a race outside the career cannot be booked.
    if (race < 1 || race > 15 || place < 1 || place > 4)
        return;
    int &best = career.raceSlot[race - 1].bestPlace;
    // A race pays points the first time it is finished on the podium.
    if ((best == 0 || best == 4) && place < 4) {
        career.careerPoints += 125 - 25 * place;
        best = place;
        if (career.racesOpen < 15)
            career.racesOpen++;
    }
    for (const auto &step : carsByPoints)
        if (career.careerPoints > step.pointsAbove && !career.carOpen[step.car]) {
            career.carOpen[step.car] = true;
            newCarOpened = true;
        }
    career.cash += 1000 - 250 * place;
}
