#include "city.h"
#include "race/start_places.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::vector<Street> streets;

float len2(V2 a) { return std::sqrt(a.x * a.x + a.z * a.z); }
V2 norm2(V2 a)
{
    float l = len2(a);
    return l > 1e-9f ? a * (1.0f / l) : V2{1, 0};
}
static float cross2(V2 a, V2 b) { return a.x * b.z - a.z * b.x; }
static float dot2(V2 a, V2 b) { return a.x * b.x + a.z * b.z; }

// Avenues run north-south (along z), streets east-west (along x). The start straights of the race
// table are the streets 2, 4, 5, 6, 7 and 8; each lies 6.75 beyond its start position in z so the
// four grid slots straddle its centre.
static const float kAvenueX[5] = {-640, -470, -300, -130, 30};

// Circuits. Start positions 1-15 are the race's own; 16-20 get theirs from the ground (filled in
// by initCity) on streets no other circuit starts on.
static constexpr TrackDef raced(int n, const char *route)
{
    const float *s = kStartPlaces[kStartOfTrack[n - 1]];
    return {n, s[0], s[1], s[2], route};
}
const TrackDef trackDefs[20] = {
    raced(1, "a8:70 c8:16 c7:16 d7 d5:40 a5:70"),
    raced(2, "a5:60 d5 d4:22 c4 b3 a3:60"),
    raced(3, "b2:22 e2:45 e3 b3:15"),
    raced(4, "b7:40 e7:80 e5:50 c5:18 c6:18 b6:40"),
    raced(5, "a6:80 e6:60 e4:18 c4 b3 a3:80"),
    raced(6, "a2:60 e2:40 e1:80 a1:80"),
    raced(7, "a2:50 d2:20 d4:30 c4 b3 a3:40"),
    raced(8, "c7:30 e7:30 d6 d3:20 c3:40"),
    raced(9, "a5:90 e5:90 e3:30 d3:16 d2:30 a2:90"),
    raced(10, "a4:50 e4:70 e2:60 c2:20 c3:20 a3:50"),
    raced(11, "c2:30 e2:70 e4:60 c4 b3 b2:25"),
    raced(12, "a2:40 c2:18 c1:30 e1:110 e3:30 a3:40"),
    raced(13, "b5:18 d5:35 d6 e7:60 e9:110 b9:40"),
    raced(14, "b3 c4 e4:30 e5:20 a5:70 a3:70"),
    raced(15, "c6:25 e6:30 e9:110 c9:40"),
    {16, -560, 0, -86.75f, "a3:60 e3:90 e1:90 d1:25 d2:25 b2 b1:30 a1:90"},
    {17, -200, 0, 693.25f, "a9:110 e9:110 e7 d6 a6:40"},
    {18, -380, 0, -406.75f, "a1:110 e1:110 e3:40 d3:18 d2:25 c2:25 c3:18 a3:60"},
    {19, -380, 0, 305, "a6:40 c6:20 c7:20 e7:40 e9:110 a9:110"},
    {20, -560, 0, 95, "a4:35 b4:18 b5:18 d5:40 d3:30 a3:60"},
};

static std::vector<V2> heightPoints;
static std::vector<float> heightValues;
static std::vector<TrackDef> resolvedDefs;

// The ground follows the start positions: exactly level within 30 units of each (so a grid stands
// on a flat road) and blended by inverse distance in between, which keeps every slope gentle.
float groundHeight(float x, float z)
{
    const float plateau = 30.0f;
    double wsum = 0, hsum = 0;
    for (size_t i = 0; i < heightPoints.size(); i++) {
        float dx = x - heightPoints[i].x, dz = z - heightPoints[i].z;
        float d = std::sqrt(dx * dx + dz * dz) - plateau;
        if (d <= 0)
            return heightValues[i];
        double w = 1.0 / (double(d) * d);
        wsum += w;
        hsum += w * heightValues[i];
    }
    return wsum > 0 ? float(hsum / wsum) : -8.0f;
}

static float streetZAt(const Street &st, float x)
{
    for (size_t i = 0; i + 1 < st.points.size(); i++) {
        V2 a = st.points[i], b = st.points[i + 1];
        float lo = std::fmin(a.x, b.x), hi = std::fmax(a.x, b.x);
        if (x >= lo - 0.01f && x <= hi + 0.01f && hi > lo)
            return a.z + (b.z - a.z) * (x - a.x) / (b.x - a.x);
    }
    return NAN;
}

V2 cityNode(const std::string &name)
{
    if (name.size() != 2 || name[0] < 'a' || name[0] > 'e' || name[1] < '1' || name[1] > '9')
        return V2{NAN, NAN};
    float x = kAvenueX[name[0] - 'a'];
    const Street &st = streets[size_t(5 + (name[1] - '1'))];
    return V2{x, streetZAt(st, x)};
}

void initCity()
{
    streets.clear();
    const char *avenueNames[5] = {"a", "b", "c", "d", "e"};
    for (int i = 0; i < 5; i++)
        streets.push_back(Street{avenueNames[i], 12.0f, 0, {{kAvenueX[i], -400}, {kAvenueX[i], 700}}});
    streets.push_back(Street{"1", 12.0f, 1, {{-640, -400}, {30, -400}}});
    streets.push_back(Street{"2", 13.0f, 1, {{-640, -240.25f}, {-420, -240.25f}, {-345, -266.25f}, {30, -266.25f}}});
    streets.push_back(Street{"3", 12.0f, 0, {{-640, -80}, {30, -80}}});
    streets.push_back(Street{"4", 13.0f, 1, {{-640, 101.75f}, {30, 101.75f}}});
    streets.push_back(Street{"5", 13.0f, 0, {{-640, 199.75f}, {30, 199.75f}}});
    streets.push_back(Street{"6", 13.0f, 1, {{-640, 311.75f}, {30, 311.75f}}});
    streets.push_back(Street{"7", 13.0f, 0, {{-470, 499.75f}, {30, 499.75f}}});
    streets.push_back(Street{"8", 13.0f, 1, {{-640, 558.75f}, {-300, 558.75f}}});
    streets.push_back(Street{"9", 12.0f, 0, {{-640, 700}, {30, 700}}});
    // Two diagonal boulevards cut through the blocks.
    streets.push_back(Street{"x1", 12.0f, 1, {{-470, -80}, {-300, 101.75f}}});
    streets.push_back(Street{"x2", 12.0f, 0, {{-130, 311.75f}, {30, 499.75f}}});

    heightPoints.clear();
    heightValues.clear();
    for (const TrackDef &d : trackDefs)
        if (d.number <= 15) {
            heightPoints.push_back(V2{d.startX, d.startZ});
            heightValues.push_back(d.startY - 0.8f);
        }
    // The extra circuits' grids get their own level patches at whatever height the ground has there.
    for (const TrackDef &d : trackDefs)
        if (d.number > 15) {
            float h = groundHeight(d.startX, d.startZ);
            heightPoints.push_back(V2{d.startX, d.startZ});
            heightValues.push_back(std::round((h + 0.8f) * 10.0f) / 10.0f - 0.8f);
        }
}

static float startYOf(const TrackDef &d)
{
    if (d.number <= 15)
        return d.startY;
    return groundHeight(d.startX, d.startZ) + 0.8f;
}

// --- centre line ---------------------------------------------------------------------------------

static float pointSegmentDistance(V2 p, V2 a, V2 b, float *u)
{
    V2 ab = b - a;
    float l2 = dot2(ab, ab);
    float t = l2 > 0 ? dot2(p - a, ab) / l2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    if (u)
        *u = t;
    return len2(p - (a + ab * t));
}

static bool onStreet(const Street &st, V2 p, float *along)
{
    float acc = 0;
    for (size_t i = 0; i + 1 < st.points.size(); i++) {
        float u;
        float seg = len2(st.points[i + 1] - st.points[i]);
        if (pointSegmentDistance(p, st.points[i], st.points[i + 1], &u) < 0.5f) {
            if (along)
                *along = acc + u * seg;
            return true;
        }
        acc += seg;
    }
    return false;
}

// The street polyline between two of its points, both ends included.
static std::vector<V2> streetBetween(const Street &st, float fromAlong, float toAlong)
{
    std::vector<V2> pts;
    std::vector<float> along;
    float acc = 0;
    for (size_t i = 0; i < st.points.size(); i++) {
        if (i > 0)
            acc += len2(st.points[i] - st.points[i - 1]);
        along.push_back(acc);
    }
    auto pointAt = [&](float a) {
        for (size_t i = 0; i + 1 < st.points.size(); i++)
            if (a <= along[i + 1] + 1e-3f) {
                float u = (a - along[i]) / (along[i + 1] - along[i]);
                return st.points[i] + (st.points[i + 1] - st.points[i]) * u;
            }
        return st.points.back();
    };
    pts.push_back(pointAt(fromAlong));
    if (fromAlong < toAlong) {
        for (size_t i = 0; i < st.points.size(); i++)
            if (along[i] > fromAlong + 0.5f && along[i] < toAlong - 0.5f)
                pts.push_back(st.points[i]);
    } else {
        for (size_t i = st.points.size(); i-- > 0;)
            if (along[i] < fromAlong - 0.5f && along[i] > toAlong + 0.5f)
                pts.push_back(st.points[i]);
    }
    pts.push_back(pointAt(toAlong));
    return pts;
}

PathSample TrackPath::at(float s) const
{
    s = std::fmod(s, length);
    if (s < 0)
        s += length;
    size_t lo = 0, hi = samples.size();
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (samples[mid].s <= s)
            lo = mid;
        else
            hi = mid;
    }
    const PathSample &a = samples[lo];
    const PathSample &b = samples[(lo + 1) % samples.size()];
    float sb = lo + 1 < samples.size() ? b.s : length;
    float u = sb > a.s ? (s - a.s) / (sb - a.s) : 0;
    PathSample r = a;
    r.p = a.p + (b.p - a.p) * u;
    r.t = norm2(a.t + (b.t - a.t) * u);
    r.s = s;
    r.hw = a.hw + (b.hw - a.hw) * u;
    r.radius = (a.radius > 0 && b.radius > 0) ? a.radius : 0;
    return r;
}

float TrackPath::distanceTo(V2 p, float *sAt) const
{
    float best = 1e30f;
    for (size_t i = 0; i < samples.size(); i++) {
        const PathSample &a = samples[i];
        const PathSample &b = samples[(i + 1) % samples.size()];
        float u;
        float d = pointSegmentDistance(p, a.p, b.p, &u);
        if (d < best) {
            best = d;
            if (sAt) {
                float sb = i + 1 < samples.size() ? b.s : length;
                *sAt = a.s + (sb - a.s) * u;
            }
        }
    }
    return best;
}

bool buildTrackPath(const TrackDef &def, TrackPath &out)
{
    out = TrackPath{};
    // 1. Corner list with radii, each leg along one street (with that street's own bends added).
    struct Corner {
        V2 p;
        float radius; // < 0: choose by the turn
        int street;   // street of the leg that leaves this corner
    };
    std::vector<Corner> named;
    {
        std::string route = def.route;
        size_t i = 0;
        while (i < route.size()) {
            while (i < route.size() && route[i] == ' ')
                i++;
            size_t j = i;
            while (j < route.size() && route[j] != ' ')
                j++;
            if (j == i)
                break;
            std::string tok = route.substr(i, j - i);
            float r = -1;
            size_t colon = tok.find(':');
            if (colon != std::string::npos) {
                r = float(std::atof(tok.c_str() + colon + 1));
                tok = tok.substr(0, colon);
            }
            V2 p = cityNode(tok);
            if (std::isnan(p.x) || std::isnan(p.z)) {
                out.error = "no node " + tok;
                return false;
            }
            named.push_back(Corner{p, r, -1});
            i = j;
        }
    }
    std::vector<Corner> corners;
    for (size_t i = 0; i < named.size(); i++) {
        V2 a = named[i].p, b = named[(i + 1) % named.size()].p;
        int found = -1;
        float fa = 0, fb = 0;
        for (size_t s = 0; s < streets.size() && found < 0; s++)
            if (onStreet(streets[s], a, &fa) && onStreet(streets[s], b, &fb))
                found = int(s);
        if (found < 0) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "no street from (%g,%g) to (%g,%g)", a.x, a.z, b.x, b.z);
            out.error = buf;
            return false;
        }
        std::vector<V2> leg = streetBetween(streets[size_t(found)], fa, fb);
        corners.push_back(Corner{a, named[i].radius, found});
        for (size_t k = 1; k + 1 < leg.size(); k++)
            corners.push_back(Corner{leg[k], -1, found});
    }
    size_t n = corners.size();
    for (auto &c : corners)
        out.corners.push_back(c.p);

    // 2. Fillet every corner; radii shrink where two fillets would overlap on a short leg.
    std::vector<float> theta(n), tangentLen(n), radius(n);
    std::vector<V2> dIn(n), dOut(n);
    for (size_t i = 0; i < n; i++) {
        V2 prev = corners[(i + n - 1) % n].p, cur = corners[i].p, next = corners[(i + 1) % n].p;
        dIn[i] = norm2(cur - prev);
        dOut[i] = norm2(next - cur);
        float c = dot2(dIn[i], dOut[i]);
        c = c > 1 ? 1 : c < -1 ? -1 : c;
        theta[i] = std::acos(c);
        float r = corners[i].radius;
        if (r < 0)
            r = theta[i] > 1.2f ? 28.0f : theta[i] > 0.5f ? 45.0f : 110.0f;
        radius[i] = r;
        tangentLen[i] = theta[i] > 1e-3f ? r * std::tan(theta[i] * 0.5f) : 0;
    }
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        float leg = len2(corners[j].p - corners[i].p);
        if (tangentLen[i] + tangentLen[j] > leg - 2) {
            float k = (leg - 2) / (tangentLen[i] + tangentLen[j]);
            tangentLen[i] *= k;
            tangentLen[j] *= k;
        }
    }
    for (size_t i = 0; i < n; i++) {
        if (theta[i] > 1e-3f)
            radius[i] = tangentLen[i] / std::tan(theta[i] * 0.5f);
        float hwIn = streets[size_t(corners[(i + n - 1) % n].street)].halfWidth;
        float hwOut = streets[size_t(corners[i].street)].halfWidth;
        if (theta[i] > 1e-3f && radius[i] < std::fmax(hwIn, hwOut) + 2.5f) {
            char buf[96];
            std::snprintf(buf, sizeof buf, "corner %zu at (%g,%g) too tight (radius %.1f)", i, corners[i].p.x,
                          corners[i].p.z, radius[i]);
            out.error = buf;
            return false;
        }
    }

    // 3. Sample: each corner's arc, then the straight to the next corner.
    for (size_t i = 0; i < n; i++) {
        const Corner &c = corners[i];
        int streetIn = corners[(i + n - 1) % n].street;
        float hwIn = streets[size_t(streetIn)].halfWidth, hwOut = streets[size_t(c.street)].halfWidth;
        if (theta[i] > 1e-3f) {
            V2 a = c.p - dIn[i] * tangentLen[i];
            bool right = cross2(dIn[i], dOut[i]) > 0;
            V2 side = right ? rightOf(dIn[i]) : rightOf(dIn[i]) * -1.0f;
            V2 centre = a + side * radius[i];
            float step = std::fmin(0.13f, 3.5f / radius[i]);
            int m = int(std::ceil(theta[i] / step));
            if (m < 2)
                m = 2;
            for (int k = 0; k <= m; k++) {
                float ang = theta[i] * float(k) / float(m) * (right ? 1.0f : -1.0f);
                V2 rel = a - centre;
                float cs = std::cos(ang), sn = std::sin(ang);
                // Turning right (clockwise seen with z down) rotates by +ang in this frame.
                V2 p = centre + V2{rel.x * cs - rel.z * sn, rel.x * sn + rel.z * cs};
                V2 t = {dIn[i].x * cs - dIn[i].z * sn, dIn[i].x * sn + dIn[i].z * cs};
                float u = float(k) / float(m);
                PathSample ps{p, norm2(t), 0, hwIn + (hwOut - hwIn) * u, radius[i], u < 0.5f ? streetIn : c.street};
                out.samples.push_back(ps);
            }
        } else {
            out.samples.push_back(PathSample{c.p, dOut[i], 0, hwOut, 0, c.street});
        }
        V2 from = c.p + dOut[i] * tangentLen[i];
        V2 to = corners[(i + 1) % n].p - dOut[i] * tangentLen[(i + 1) % n];
        float leg = len2(to - from);
        int m = int(std::ceil(leg / 10.0f));
        for (int k = 1; k < m; k++)
            out.samples.push_back(PathSample{from + (to - from) * (float(k) / float(m)), dOut[i], 0, hwOut, 0, c.street});
    }
    // Drop samples that coincide (a straight leg of zero length).
    std::vector<PathSample> clean;
    for (const PathSample &s : out.samples)
        if (clean.empty() || len2(s.p - clean.back().p) > 0.05f)
            clean.push_back(s);
    while (clean.size() > 1 && len2(clean.front().p - clean.back().p) <= 0.05f)
        clean.pop_back();
    out.samples = clean;
    float s = 0;
    for (size_t i = 0; i < out.samples.size(); i++) {
        if (i > 0)
            s += len2(out.samples[i].p - out.samples[i - 1].p);
        out.samples[i].s = s;
    }
    out.length = s + len2(out.samples.front().p - out.samples.back().p);

    // 4. Start line 10 ahead of the first grid slot, on the centre of the start street.
    V2 line{def.startX + 10.0f, def.startZ + 6.75f};
    float sLine = 0;
    float d = out.distanceTo(line, &sLine);
    if (d > 0.5f) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "start line (%g,%g) is %.1f off the circuit", line.x, line.z, d);
        out.error = buf;
        return false;
    }
    PathSample atLine = out.at(sLine);
    if (atLine.t.x < 0.99f) {
        out.error = "circuit does not run east through its start line";
        return false;
    }
    out.startLineS = sLine;

    // 5. Side streets: every other arm of every street node the circuit passes over.
    for (size_t si = 0; si < streets.size(); si++) {
        const Street &st = streets[si];
        // Nodes of street si: its ends and bends, other streets' ends on it, and crossings.
        std::vector<V2> nodes(st.points.begin(), st.points.end());
        for (size_t sj = 0; sj < streets.size(); sj++) {
            if (sj == si)
                continue;
            for (const V2 &q : streets[sj].points)
                if (onStreet(st, q, nullptr))
                    nodes.push_back(q);
            for (size_t a = 0; a + 1 < st.points.size(); a++)
                for (size_t b = 0; b + 1 < streets[sj].points.size(); b++) {
                    V2 p = st.points[a], r = st.points[a + 1] - p;
                    V2 q = streets[sj].points[b], e = streets[sj].points[b + 1] - q;
                    float den = cross2(r, e);
                    if (std::fabs(den) < 1e-6f)
                        continue;
                    float t = cross2(q - p, e) / den, u = cross2(q - p, r) / den;
                    if (t > 0.001f && t < 0.999f && u > 0.001f && u < 0.999f)
                        nodes.push_back(p + r * t);
                }
        }
        for (const V2 &node : nodes) {
            bool isCrossing = false;
            for (size_t sj = 0; sj < streets.size() && !isCrossing; sj++)
                if (sj != si && onStreet(streets[sj], node, nullptr))
                    isCrossing = true;
            if (!isCrossing)
                continue; // a bend of the street itself
            // Does the circuit pass over this node (on its uncut corner polyline)?
            bool onCircuit = false;
            for (size_t i = 0; i < n && !onCircuit; i++)
                if (pointSegmentDistance(node, corners[i].p, corners[(i + 1) % n].p, nullptr) < 0.5f)
                    onCircuit = true;
            if (!onCircuit)
                continue;
            // The two arms of street si at this node, unless the circuit drives along them.
            for (int dirSign = -1; dirSign <= 1; dirSign += 2) {
                float along = 0;
                onStreet(st, node, &along);
                float total = 0;
                for (size_t k = 0; k + 1 < st.points.size(); k++)
                    total += len2(st.points[k + 1] - st.points[k]);
                float target = along + dirSign * 30.0f;
                if (target < 0 || target > total)
                    continue;
                std::vector<V2> leg = streetBetween(st, along, target);
                V2 dir = norm2(leg[1] - leg[0]);
                // Skip the arm if the circuit itself runs out along it.
                V2 probe = node + dir * 25.0f;
                if (out.distanceTo(probe) < 5.0f)
                    continue;
                bool dup = false;
                for (const Crossing &c : out.sideStreets)
                    if (len2(c.node - node) < 0.5f && dot2(c.dir, dir) > 0.99f)
                        dup = true;
                if (!dup)
                    out.sideStreets.push_back(Crossing{node, dir, st.halfWidth, int(si)});
            }
        }
    }
    return true;
}

float trackStartY(const TrackDef &d) { return startYOf(d); }
