// Pass timing for the frame-rate benchmark.
#include "render/gl_ext.h"
#include "render/pass_times.h"
#include "platform/sys.h"

#include <cstdio>
#include <string>

bool passTiming;

namespace {

const char *const kPassNames[PASS_COUNT] = {"reflection", "scene", "cars", "track", "sky", "effects", "glows", "post", "hud", "swap", "other"};

double lastMark = -1, lastCpuMark;
double passMs[PASS_COUNT];
double passCpuMs[PASS_COUNT]; // the game's own thread
double passFragments[PASS_COUNT];

// Fragment-program runs are counted by a pipeline statistics query left open between marks;
// drivers without the query report none.
PFNGLGENQUERIESPROC genQueries;
PFNGLBEGINQUERYPROC beginQuery;
PFNGLENDQUERYPROC endQuery;
PFNGLGETQUERYOBJECTUI64VPROC queryResult;
GLuint query;
bool queryOpen;

void openQuery()
{
    static bool looked;
    if (!looked) {
        looked = true;
        genQueries = reinterpret_cast<PFNGLGENQUERIESPROC>(Sys_GL_GetProcAddress("glGenQueries"));
        beginQuery = reinterpret_cast<PFNGLBEGINQUERYPROC>(Sys_GL_GetProcAddress("glBeginQuery"));
        endQuery = reinterpret_cast<PFNGLENDQUERYPROC>(Sys_GL_GetProcAddress("glEndQuery"));
        queryResult = reinterpret_cast<PFNGLGETQUERYOBJECTUI64VPROC>(Sys_GL_GetProcAddress("glGetQueryObjectui64v"));
        const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
        bool has = extensions && std::string(extensions).find("GL_ARB_pipeline_statistics_query") != std::string::npos;
        if (has && genQueries && beginQuery && endQuery && queryResult)
            genQueries(1, &query);
    }
    if (query) {
        beginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
        queryOpen = true;
    }
}

// The runs since the query opened; the GL work has been finished, so the result is ready.
double closeQuery()
{
    if (!queryOpen)
        return 0;
    endQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    queryOpen = false;
    GLuint64 runs = 0;
    queryResult(query, GL_QUERY_RESULT, &runs);
    return double(runs);
}

} // namespace

void markPassEnd(FramePass pass)
{
    if (!passTiming)
        return;
    glFinish();
    passFragments[pass] += closeQuery();
    double now = Sys_WallClockMs(), cpu = Sys_ThreadCpuMs();
    if (lastMark >= 0) { // the first mark only starts the clocks
        passMs[pass] += now - lastMark;
        passCpuMs[pass] += cpu - lastCpuMark;
    }
    lastMark = now;
    lastCpuMark = cpu;
    openQuery();
}

void tracePassFields(TraceLine &line)
{
    if (!passTiming)
        return;
    // Each table as one object of the passes' names, then emptied for the next frame.
    static const struct {
        const char *field;
        double *values;
        int decimals;
    } tables[] = {{"passMs", passMs, 3}, {"passCpuMs", passCpuMs, 3}, {"passFragments", passFragments, 0}};
    for (const auto &t : tables) {
        std::string object = "{";
        for (int i = 0; i < PASS_COUNT; i++) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "%s\"%s\":%.*f", i ? "," : "", kPassNames[i], t.decimals, t.values[i]);
            object += buf;
            t.values[i] = 0;
        }
        line.fieldRaw(t.field, object + "}");
    }
}
