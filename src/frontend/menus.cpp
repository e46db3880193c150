// The menu screens on their shared layout: the garage (or the frozen race) behind a panel, a list
// that scrolls through a fixed highlight row, the arrows and the select bar of the left column,
// the cursor; what each item does; the mouse and the keyboard over them.
#include "audio/audio.h"
#include "common/common.h"
#include "frontend/frontend.h"
#include "frontend/frontend_local.h"
#include "platform/sys.h"
#include "race/race.h"
#include "render/font.h"
#include "render/images.h"
#include "render/render.h"
#include "render/texture_names.h"
#include "scene/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

const MenuArea buttonAreas[3] = {{1, 149, 101, 274}, {1, 149, 326, 499}, {1, 149, 276, 324}};
bool hoverFlags[HOVER_COUNT];
int packetFocus = -1;

namespace {

float buttonScale[3] = {1, 1, 1};
float bouncePhase;

// ---- what the items do ----

// A car the chooser may show: the selected one when it is open, else the first open one.
void keepSelectedCarOpen()
{
    if (selectedCar >= 0 && selectedCar <= kLastCarIndex && career.carOpen[selectedCar])
        return;
    selectedCar = 0;
    for (int c = kLastCarIndex; c >= 0; c--)
        if (career.carOpen[c])
            selectedCar = c;
}

void activateMainMenu(int item)
{
    switch (item) {
    case 0:
        gameState = STATE_CAREER_MENU;
        careerEntryMarker = 1;
        break;
    case 1: startQuickRace(std::rand() % 9 + 1, -1); break;
    // The options screen shows the resolution chosen so far, the running one at first.
    case 2: gameState = STATE_OPTIONS; break;
    case 3: gameState = STATE_QUIT_QUESTION; break;
    }
}

void activateQuitQuestion(int item)
{
    if (item == 0)
        gameState = STATE_MAIN_MENU;
    else if (item == 1)
        quitRequested = true;
}

void activateCareerMenu(int item)
{
    switch (item) {
    case 0:
        gameState = STATE_CAR_SELECT;
        career.careerStarted = careerEntryMarker;
        newCareer();
        break;
    case 1:
        gameState = STATE_CAR_SELECT;
        keepSelectedCarOpen();
        break;
    case 2: gameState = STATE_MAIN_MENU; break;
    }
}

void activateCarSelect(int item)
{
    int car = selectedCar;
    switch (item) {
    case 0:
        if (car >= 0 && car < kLastCarIndex && career.carOpen[car + 1])
            selectedCar = car + 1;
        break;
    case 1:
        if (car > 0 && car <= kLastCarIndex && career.carOpen[car - 1])
            selectedCar = car - 1;
        break;
    case 2:
        gameState = STATE_TUNING;
        packetFocus = -1;
        break;
    case 3:
        gameState = STATE_RACE_SELECT;
        selectedRace = career.racesOpen;
        break;
    case 4: gameState = STATE_MAIN_MENU; break;
    }
}

void activateTuning(int) { gameState = STATE_CAR_SELECT; }

void activateRaceSelect(int item)
{
    if (item == career.racesOpen) {
        gameState = STATE_CAR_SELECT;
    } else if (item >= 0 && item < career.racesOpen) {
        // The list sets selectedRace as it draws; a key pressed between two frames must still
        // start the race it highlights.
        selectedRace = item + 1;
        startCareerRace();
    }
}

void activateOptions(int item)
{
    if (item == 0)
        optionsAccepted = true;
    else if (item == 1)
        gameState = STATE_CONTROLS;
    else if (item == 2)
        gameState = STATE_MAIN_MENU;
}

void activatePause(int item)
{
    switch (item) {
    case 0:
        resumeRace();
        break;
    case 1:
        // A quick race starts afresh on a new track and car, with that car's own values.
        if (careerRace)
            startCareerRace();
        else
            startQuickRace(std::rand() % 9 + 1, -1);
        playMenuSample(SAMPLE_MENU1);
        break;
    case 2:
        if (careerRace) {
            gameState = STATE_CAR_SELECT;
        } else {
            gameState = STATE_MAIN_MENU;
            selectedCar = 0;
            selectedRace = 1;
        }
        careerRace = false;
        awardPending = false; // a race left half-way books nothing
        leaveRace();
        playMenuSample(SAMPLE_MENU1);
        break;
    }
}

void drawMainMenuLogo()
{
    OverlayQuad logo = menuQuad(tgaSet[TGA_MENU_LOGO].texture, 500, 515, 250, 125);
    drawOverlayQuad(logo);
}

struct MenuScreen {
    int state;
    const char *title;    // at (210, 565), leading blanks included; null: none
    const char *items[10]; // the race list is counted and named apart
    bool lastItemIsBack;  // Escape activates it
    void (*activate)(int item);
    void (*drawExtras)();
};

const MenuScreen screens[] = {
    {STATE_MAIN_MENU, nullptr, {"Street Racing \nCareer", "Quick Race", "Options", "Quit"}, false,
     activateMainMenu, drawMainMenuLogo},
    {STATE_QUIT_QUESTION, "Do you really want to quit?", {"No", "Yes"}, false, activateQuitQuestion, nullptr},
    {STATE_CAREER_MENU, "           Career", {"New game", "Continue game", "Back"}, true, activateCareerMenu, nullptr},
    {STATE_CAR_SELECT, "           Career", {"Car >>", "<< Car", "Tuning", "Select race", "Back"}, true,
     activateCarSelect, drawCarSelectScreen},
    {STATE_TUNING, "               Tuning", {"Back"}, true, activateTuning, drawTuningScreen},
    {STATE_RACE_SELECT, "           Race", {}, true, activateRaceSelect, drawRaceSelectScreen},
    {STATE_PAUSE, "Pause", {"Continue", "Restart", "Exit"}, false, activatePause, nullptr},
    {STATE_OPTIONS, "              Options", {"Accept", "Controls", "Back"}, true, activateOptions, drawOptionsScreen},
    {STATE_CONTROLS, "             Controls",
     {actionNames[0], actionNames[1], actionNames[2], actionNames[3], actionNames[4], actionNames[5], actionNames[6],
      actionNames[7], "Defaults", "Back"},
     true, activateControls, drawControlsScreen},
};

const MenuScreen *screenOf(int state)
{
    for (const MenuScreen &s : screens)
        if (s.state == state)
            return &s;
    return nullptr;
}

// Room for "Race " and any int, so the label can never be cut short.
using ItemLabel = char[20];

const char *itemText(int state, int item, ItemLabel &buffer)
{
    if (state == STATE_RACE_SELECT) {
        if (item == career.racesOpen)
            return "Back";
        std::snprintf(buffer, sizeof buffer, "Race %2i", item + 1);
        return buffer;
    }
    const MenuScreen *s = screenOf(state);
    return s && item >= 0 && item < int(std::size(s->items)) ? s->items[item] : nullptr;
}

// Activates an item of the requested screen. While one screen fades over to the next, the list
// on show still belongs to the old one: its highlighted item must not act on the new screen (a
// quick second click on "Career" would start a new game and wipe the saved one).
void activateItem(int item)
{
    if (shownState != gameState)
        return;
    if (const MenuScreen *s = screenOf(gameState))
        s->activate(item);
}

// ---- the left column ----

void moveSelection(int step)
{
    int next = menuSelection + step;
    if (next >= 0 && next < menuItemCount) {
        menuSelection = next;
        menuScroll += 60.0f * float(step);
    }
    playMenuSample(SAMPLE_MENU1);
    menuClickReset();
}

void pressSelectBar(int item)
{
    playMenuSample(SAMPLE_MENU1);
    menuClickReset();
    activateItem(item);
}

// A tuning packet clicked or chosen with Enter: bought when it is on offer, and the career saved
// at once, as the cash is spent.
void pressPacket(int packet)
{
    if (buyPacket(selectedCar, packet))
        writeCareer();
    playMenuSample(SAMPLE_MENU1);
}

void setHover(int flag, bool inside)
{
    if (inside && !hoverFlags[flag])
        playMenuSample(SAMPLE_MENU2);
    hoverFlags[flag] = inside;
}

void drawArrow(float y, float scale, bool pointsDown)
{
    // The glow layer behind bounces while the arrow is grown by the hover.
    float bounce = (1.0f - scale) * std::sin(bouncePhase) * 25.0f;
    for (int layer : {TGA_MENU_ARROW_BACK, TGA_MENU_ARROW_FRONT}) {
        float offset = layer == TGA_MENU_ARROW_BACK ? bounce : 0.0f;
        OverlayQuad q = menuQuad(tgaSet[layer].texture, 80, y + (pointsDown ? -offset : offset), 50 * scale, 25 * scale);
        if (pointsDown)
            std::swap(q.t0, q.t1);
        drawOverlayQuad(q);
    }
}

void drawButtons()
{
    bouncePhase += frameTime * 0.075f;
    for (int b = 0; b < 3; b++)
        buttonScale[b] = hoverFlags[b] ? std::min(1.08f, buttonScale[b] + frameTime * 0.01f)
                                       : std::max(1.0f, buttonScale[b] - frameTime * 0.003f);
    drawArrow(470, buttonScale[HOVER_UP_ARROW], false);
    drawArrow(130, buttonScale[HOVER_DOWN_ARROW], true);
    OverlayQuad bar = menuQuad(tgaSet[TGA_MENU_SELECT_BAR].texture, 85, 304, 80 * buttonScale[HOVER_SELECT_BAR],
                               20 * buttonScale[HOVER_SELECT_BAR]);
    if (!hoverFlags[HOVER_SELECT_BAR]) {
        bar.color[0] = 0.35f;
        bar.color[1] = 0.6f;
    }
    drawOverlayQuad(bar);
}

void drawScreen(int state)
{
    const MenuScreen *s = screenOf(state);
    if (!s)
        return;
    OverlayQuad panel = menuQuad(tgaSet[TGA_MENU_PANEL].texture, 400, 300, 400, 300);
    drawOverlayQuad(panel);
    drawMenuList(menuItemTotal(state));
    if (s->title) {
        textAlpha = screenAlpha;
        printSmall(210, 565, 1, "%s", s->title);
    }
    if (s->drawExtras)
        s->drawExtras();
}

void drawCursor()
{
    OverlayQuad cursor;
    cursor.texture = tgaSet[TGA_MENU_CURSOR].texture;
    cursor.originX = float(mouseX);
    cursor.originY = float(600 - mouseY);
    cursor.x1 = 20;
    cursor.y0 = -20; // the tip is the top left corner
    drawOverlayQuad(cursor);
}

template <typename T> std::string jsonList(const T *values, int count)
{
    std::string out = "[";
    for (int i = 0; i < count; i++) {
        out += i ? "," : "";
        if constexpr (std::is_same_v<T, bool>)
            out += values[i] ? "true" : "false";
        else
            out += std::to_string(values[i]);
    }
    return out + "]";
}

} // namespace

OverlayQuad menuQuad(GLuint texture, float x, float y, float halfWidth, float halfHeight)
{
    OverlayQuad q;
    q.texture = texture;
    q.originX = x;
    q.originY = y;
    q.x0 = -halfWidth;
    q.x1 = halfWidth;
    q.y0 = -halfHeight;
    q.y1 = halfHeight;
    q.color[3] = screenAlpha;
    return q;
}

void playMenuSample(int sample)
{
    if (soundOn)
        sampleSlots[sample].play();
}

int menuItemTotal(int state)
{
    if (state == STATE_RACE_SELECT)
        return career.racesOpen + 1;
    int n = 0;
    if (const MenuScreen *s = screenOf(state))
        while (n < int(std::size(s->items)) && s->items[n])
            n++;
    return n;
}

void easeMenuScroll()
{
    float speed = std::clamp(std::fabs(menuScroll * 0.05f) * frameTime, 0.15f, 2.5f);
    if (menuScroll > 0)
        menuScroll = menuScroll - speed > 0 ? menuScroll - speed : 0;
    else if (menuScroll < 0)
        menuScroll = menuScroll + speed < 0 ? menuScroll + speed : 0;
}

void updateMenuList(int count)
{
    menuItemCount = count;
    easeMenuScroll();
    if (shownState == STATE_RACE_SELECT && menuSelection < career.racesOpen)
        selectedRace = menuSelection + 1;
}

void drawMenuList(int count)
{
    updateMenuList(count);
    for (int i = 0; i < count; i++) {
        ItemLabel buffer;
        const char *text = itemText(shownState, i, buffer);
        if (!text)
            continue;
        float rel = float(i - menuSelection);
        int y = int(300.0f - 60.0f * rel - menuScroll);
        float d = std::fabs(100.0f * rel + menuScroll);
        textAlpha = screenAlpha * std::max(0.0f, (240.0f - std::min(d, 240.0f)) * 0.02f);
        textColorMode = i == menuSelection && std::fabs(menuScroll) < 20 ? 0 : 1;
        // An item of two lines stands on both sides of its row.
        if (const char *newline = std::strchr(text, '\n')) {
            printSmall(20, y + 8, 1, "%.*s", int(newline - text), text);
            printSmall(20, y - 8, 1, "%s", newline + 1);
        } else {
            printSmall(20, y, 1, "%s", text);
        }
    }
    textAlpha = screenAlpha;
    textColorMode = 0;
    drawButtons();
}

void drawMenuScreens()
{
    menuClock += frameTime * 0.2f;
    if (menuClock > 1000000.0f)
        menuClock = 0;
    // The pause menu stands on the last race picture instead of the garage.
    if (gameState != STATE_PAUSE)
        drawGarageScene(menuClock);
    beginOverlay();
    drawComposite();
    drawScreen(shownState);
    updateMousePosition();
    drawCursor();
    endOverlay();
}

void menuClickReset()
{
    for (bool &flag : hoverFlags)
        flag = false;
    seedRandomGenerator();
}

bool menuClick()
{
    // The loading screen stands in front of a main menu that cannot be used yet.
    if (gameState == STATE_RACING || loadingPhase)
        return false;
    // The Controls screen waiting for an input takes a click as "leave it as it is".
    if (controlsCancelWait())
        return true;
    // The click acts where the pointer is now, even when it moved since the last frame.
    updateMousePosition();
    if (buttonAreas[HOVER_UP_ARROW].contains(mouseX, mouseY)) {
        moveSelection(-1);
        return true;
    }
    if (buttonAreas[HOVER_DOWN_ARROW].contains(mouseX, mouseY)) {
        moveSelection(1);
        return true;
    }
    if (buttonAreas[HOVER_SELECT_BAR].contains(mouseX, mouseY)) {
        pressSelectBar(menuSelection);
        return true;
    }
    if (gameState == STATE_TUNING) {
        for (int k = 0; k < 6; k++)
            if (packetArea(k).contains(mouseX, mouseY)) {
                pressPacket(k);
                return true;
            }
    }
    if (gameState == STATE_OPTIONS)
        return optionsClick(mouseX, mouseY);
    return false;
}

void menuHover()
{
    if (gameState == STATE_RACING || loadingPhase)
        return;
    // A single move of the pointer (and nothing after it) must still light what it reached.
    updateMousePosition();
    for (int b = 0; b < 3; b++)
        setHover(b, buttonAreas[b].contains(mouseX, mouseY));
    if (gameState == STATE_TUNING)
        for (int k = 0; k < 6; k++)
            setHover(HOVER_PACKET_1 + k, packetArea(k).contains(mouseX, mouseY));
}

bool menuKey(unsigned key)
{
    if (gameState == STATE_RACING || loadingPhase)
        return false;
    bool tuning = gameState == STATE_TUNING;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        packetFocus = -1; // back to the list
        moveSelection(key == VK_UP ? -1 : 1);
        return true;
    case VK_RETURN:
        if (tuning && packetFocus >= 0) {
            pressPacket(packetFocus);
        } else {
            pressSelectBar(menuSelection);
        }
        return true;
    case VK_ESCAPE: {
        const MenuScreen *s = screenOf(gameState);
        if (!s || !s->lastItemIsBack)
            return false;
        pressSelectBar(menuItemTotal(gameState) - 1);
        return true;
    }
    case VK_LEFT:
    case VK_RIGHT:
        if (gameState == STATE_CAR_SELECT) {
            pressSelectBar(key == VK_RIGHT ? 0 : 1); // "Car >>" and "<< Car"
            return true;
        }
        if (tuning) {
            int step = key == VK_RIGHT ? 1 : -1;
            packetFocus = packetFocus < 0 ? (step > 0 ? 0 : 5) : (packetFocus + step + 6) % 6;
            playMenuSample(SAMPLE_MENU2);
            return true;
        }
        return false;
    default: return false;
    }
}

void traceMenuFields(TraceLine &line)
{
    line.field("menuSelection", menuSelection);
    line.field("menuItemCount", menuItemCount);
    line.field("menuScroll", double(menuScroll));
    line.fieldRaw("hoverFlags", jsonList(hoverFlags, HOVER_COUNT));
    line.field("packetFocus", packetFocus);
    line.field("selectedCar", selectedCar);
    line.field("selectedRace", selectedRace);
    line.field("racesOpen", career.racesOpen);
    line.field("cash", career.cash);
    line.field("points", career.careerPoints);
    line.fieldRaw("carOpen", jsonList(career.carOpen, 18));
    line.fieldRaw("tuningState", jsonList(tuningState, 6));
    line.fieldRaw("tuningBought", jsonList(career.tuningBought[std::clamp(selectedCar, 0, 17)], 6));
    line.field("careerRace", careerRace);
    line.field("awardPending", awardPending);
    line.field("newCarOpened", newCarOpened);
    line.field("soundOn", soundOn);
    line.field("musicOn", musicOn);
    line.field("optionsResolutionIndex", optionsResolutionIndex);
    line.field("optionsAccepted", optionsAccepted);
}
