// The career record, its 712-byte file of 178 little-endian words, and the player's car values.
#include "frontend/frontend.h"
#include "race/race.h"
#include "platform/sys_files.h"

#include <algorithm>

Career career;
int careerEntryMarker = 1;
bool newCarOpened;
const char *const careerPath = "base/career.inf";

static const int CAREER_WORDS = 178;
static const int kCareerValueLimit = 100000000;

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

void decodeCareer(const unsigned char *data, long size)
{
    if (size < CAREER_WORDS * 4) {
        career = {};
        freshCareer(career);
        career.careerStarted = careerEntryMarker;
        return;
    }
    int w[CAREER_WORDS];
    for (int i = 0; i < CAREER_WORDS; i++)
        w[i] = Sys_GetWord(data + 4 * i);
    for (int c = 0; c < 18; c++)
        career.carOpen[c] = w[c] != 0;
    for (int c = 0; c < 18; c++)
        for (int k = 0; k < 6; k++)
            career.tuningBought[c][k] = w[18 + 6 * c + k] != 0 ? 1 : 0;
    for (int r = 0; r < 24; r++) {
        career.raceSlot[r].flag = w[126 + 2 * r] != 0;
        // A place outside 0..4 cannot come from a race; treat it as never finished.
        int place = w[127 + 2 * r];
        career.raceSlot[r].bestPlace = place >= 0 && place <= 4 ? place : 0;
    }
    // The race list shows races 1..racesOpen: keep it to the races that exist.
    career.racesOpen = std::clamp(w[174], 1, 15);
    // Points and cash only ever grow by a few hundred a race; a damaged word is kept within a
    // range where the sums cannot overflow.
    career.careerPoints = std::clamp(w[175], 0, kCareerValueLimit);
    career.cash = std::clamp(w[176], 0, kCareerValueLimit);
    career.careerStarted = w[177];
}

void encodeCareer(unsigned char out[712])
{
    int w[CAREER_WORDS] = {};
    for (int c = 0; c < 18; c++)
        w[c] = career.carOpen[c] ? 1 : 0;
    for (int c = 0; c < 18; c++)
        for (int k = 0; k < 6; k++)
            w[18 + 6 * c + k] = career.tuningBought[c][k];
    for (int r = 0; r < 24; r++) {
        w[126 + 2 * r] = career.raceSlot[r].flag ? 1 : 0;
        w[127 + 2 * r] = career.raceSlot[r].bestPlace;
    }
    w[174] = career.racesOpen;
    w[175] = career.careerPoints;
    w[176] = career.cash;
    w[177] = career.careerStarted;
    for (int i = 0; i < CAREER_WORDS; i++)
        Sys_PutWord(out + 4 * i, w[i]);
}

void readCareer()
{
    unsigned char data[712];
    long n = Sys_ReadFile(careerPath, data, sizeof data);
    decodeCareer(data, n);
}

bool writeCareer()
{
    unsigned char data[712];
    encodeCareer(data);
    return Sys_WriteFileAtomic(careerPath, data, sizeof data);
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
