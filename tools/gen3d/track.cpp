#include "track.h"
#include "textures.h"

#include <cmath>
#include <cstdio>
#include <map>

static const float kSodium[3] = {1.0f, 0.62f, 0.26f};
static const float kCoolWhite[3] = {0.78f, 0.86f, 1.0f};
static const float kNeon[6][3] = {{1.0f, 0.2f, 0.7f}, {0.2f, 0.9f, 1.0f}, {1.0f, 0.5f, 0.1f},
                                  {0.35f, 1.0f, 0.4f}, {0.7f, 0.3f, 1.0f}, {1.0f, 0.25f, 0.25f}};

static const float kPavement = 4.0f;    // behind the barrier
static const float kBarrier = 1.0f;     // barrier thickness, from the road edge outwards
static const float kPaveTuck = 0.1f;    // how far the pavement reaches in under the barrier's back
static const float kWallHeight = 2.5f;  // collision wall, above what a car body reaches
static const float kGrid = 4.5f;
static const int kSolidProbes = 8; // ground probes along each wall of a building seen as solid

static Vec3 at3(V2 p, float lift) { return v3(p.x, groundHeight(p.x, p.z) + lift, p.z); }
// What the ground, the roads and everything painted on them face away from: seen only from
// above, they are wound to face the sky however the land slopes.
static const Vec3 kDeepBelow = v3(0, -1e6f, 0);

// Offsets of the two sides at a sample, shortened on the inside of a corner so the edge never folds
// over itself.
static float sideOffset(const PathSample &s, int side, float want, bool innerRight)
{
    if (s.radius > 0) {
        bool inner = (side > 0) == innerRight;
        if (inner && want > s.radius - 0.4f)
            return s.radius - 0.4f;
    }
    return want;
}

// For each sample, whether its corner turns right.
static std::vector<bool> turnsRight(const TrackPath &p)
{
    size_t n = p.samples.size();
    std::vector<bool> r(n, false);
    for (size_t i = 0; i < n; i++) {
        V2 a = p.samples[(i + n - 1) % n].t, b = p.samples[(i + 1) % n].t;
        r[i] = a.x * b.z - a.z * b.x > 0;
    }
    return r;
}

struct Strip { // one offset line along the whole loop
    std::vector<V2> pts;
};

static Strip offsetLine(const TrackPath &p, const std::vector<bool> &right, int side, float extra, bool fromEdge)
{
    Strip s;
    for (size_t i = 0; i < p.samples.size(); i++) {
        const PathSample &ps = p.samples[i];
        float want = (fromEdge ? ps.hw : 0) + extra;
        float o = sideOffset(ps, side, want, right[i]);
        s.pts.push_back(ps.p + rightOf(ps.t) * (o * float(side)));
    }
    return s;
}

static void buildCollision(const TrackPath &p, ModelMesh &m)
{
    int mat = m.material("collision", "");
    auto right = turnsRight(p);
    size_t n = p.samples.size();
    Strip edge[2], outer[2];
    for (int k = 0; k < 2; k++) {
        int side = k == 0 ? -1 : 1;
        edge[k] = offsetLine(p, right, side, 0, true);
        outer[k] = offsetLine(p, right, side, kBarrier, true);
    }
    for (size_t i = 0; i < n; i++) {
        size_t j = (i + 1) % n;
        // Driving surface, carried on under the barriers so no seam opens at their foot.
        m.quad(mat, at3(outer[0].pts[i], 0), at3(outer[0].pts[j], 0), at3(outer[1].pts[j], 0),
               at3(outer[1].pts[i], 0), {}, {}, {}, {});
        for (int k = 0; k < 2; k++) {
            Vec3 a = at3(edge[k].pts[i], -0.5f), b = at3(edge[k].pts[j], -0.5f);
            Vec3 c = at3(outer[k].pts[i], -0.5f), d = at3(outer[k].pts[j], -0.5f);
            Vec3 up = v3(0, kWallHeight + 0.5f, 0);
            m.quad(mat, a, b, b + up, a + up, {}, {}, {}, {});
            m.quad(mat, a + up, b + up, d + up, c + up, {}, {}, {}, {});
            m.quad(mat, c, d, d + up, c + up, {}, {}, {}, {});
        }
    }
}

static void buildWaypoints(const TrackPath &p, std::vector<Waypoint3> &w)
{
    // Closer together through bends, so a driver aiming at the next one keeps to the road.
    auto spacing = [&](float s) {
        for (float d = -12; d <= 26; d += 2) {
            PathSample q = p.at(s + d);
            if (q.radius > 0 && q.radius < 70)
                return 12.0f;
        }
        return 20.0f;
    };
    std::vector<float> cum; // cumulative count at every unit of length
    float u = 0;
    int steps = int(std::ceil(p.length));
    float ds = p.length / float(steps);
    cum.push_back(0);
    for (int i = 0; i < steps; i++) {
        u += ds / spacing(p.startLineS + (float(i) + 0.5f) * ds);
        cum.push_back(u);
    }
    int count = int(std::lround(u));
    w.clear();
    size_t k = 0;
    for (int i = 0; i < count; i++) {
        float target = u * float(i) / float(count);
        while (k + 1 < cum.size() && cum[k + 1] < target)
            k++;
        float frac = cum[k + 1] > cum[k] ? (target - cum[k]) / (cum[k + 1] - cum[k]) : 0;
        float s = p.startLineS + (float(k) + frac) * ds;
        PathSample q = p.at(s);
        float y = groundHeight(q.p.x, q.p.z) + 4.0f;
        w.push_back(Waypoint3{int(std::lround(q.p.x)), int(std::lround(y)), int(std::lround(q.p.z))});
    }
}

std::vector<uint8_t> encodeBuildings(const std::vector<TrackContent::Footprint> &buildings)
{
    std::vector<uint8_t> o = {'B', 'L', 'D', 'G'}, boxes;
    uint32_t count = 0;
    for (const TrackContent::Footprint &b : buildings) {
        if (!b.closed)
            continue;
        count++;
        for (const V2 &c : b.c) {
            putF(boxes, c.x);
            putF(boxes, c.z);
        }
        putF(boxes, b.bottom);
        putF(boxes, b.top);
    }
    put32(o, count);
    o.insert(o.end(), boxes.begin(), boxes.end());
    return o;
}

std::vector<uint8_t> encodeWaypoints(const std::vector<Waypoint3> &w)
{
    std::vector<uint8_t> o;
    put32(o, uint32_t(w.size()));
    for (const Waypoint3 &p : w)
        for (int v : {p.x, p.y, p.z, 0, 0})
            put32(o, uint32_t(v));
    return o;
}

// The land is drawn in squares of kGroundSquare; one the road strip crosses is split into
// kGroundSplit small squares a side, and the strip is asked about each small square at
// kGroundProbes points along each side. What is left out lies at least kGroundCoverMargin inside
// the strip's outline, so a look along the ground under the kerb never reaches a hole. (Smaller
// squares leave out little more of what the camera sees, for many more triangles.)
static const float kGroundSquare = 60;
static const int kGroundSplit = 6;
static const int kGroundProbes = 8;
static const float kGroundCoverMargin = 1.0f;

struct GroundSquares {
    float x0 = 0, z0 = 0;
    int nx = 0, nz = 0;
    std::vector<float> height; // at the squares' corners, (nx + 1) a row

    // Corner (u, w) of square (i, j)'s small squares. On the square's edges and on its diagonal
    // the point lies on the straight line between their ends, worked out from those ends alone,
    // so the squares on either side of an edge agree to the bit; elsewhere on its triangle's plane.
    Vec3 at(int i, int j, int u, int w) const
    {
        const int K = kGroundSplit;
        float step = kGroundSquare / float(K);
        float x = x0 + float(i * K + u) * step, z = z0 + float(j * K + w) * step;
        float h00 = h(i, j), h10 = h(i + 1, j), h11 = h(i + 1, j + 1), h01 = h(i, j + 1);
        auto along = [](float a, float b, int k) { return k == 0 ? a : k == K ? b : a + (b - a) * (float(k) / float(K)); };
        float fu = float(u) / float(K), fw = float(w) / float(K), y;
        if (w == 0)
            y = along(h00, h10, u);
        else if (w == K)
            y = along(h01, h11, u);
        else if (u == 0)
            y = along(h00, h01, w);
        else if (u == K)
            y = along(h10, h11, w);
        else if (u == w)
            y = along(h00, h11, u);
        else if (u > w) // the triangle through the square's corner (1, 0)
            y = h00 + fu * (h10 - h00) + fw * (h11 - h10);
        else
            y = h00 + fw * (h01 - h00) + fu * (h11 - h01);
        return v3(x, y, z);
    }
    float h(int i, int j) const { return height[size_t(j * (nx + 1) + i)]; }
};

static Uv groundUv(Vec3 p) { return Uv{p.x / 12.0f, p.z / 12.0f}; }

// The circuit's road, barriers and pavements as seen from above: whether they cover a point of
// the ground. Segments are bucketed, as the ground asks about a great many points.
class StripCover {
public:
    StripCover(const TrackPath &p)
    {
        size_t n = p.samples.size();
        for (size_t i = 0; i < n; i++) {
            const PathSample &a = p.samples[i], &b = p.samples[(i + 1) % n];
            Segment s{a.p, b.p, std::fmin(reachOf(a), reachOf(b))};
            int id = int(segments.size());
            segments.push_back(s);
            int i0 = bucket(std::fmin(s.a.x, s.b.x) - s.reach), i1 = bucket(std::fmax(s.a.x, s.b.x) + s.reach);
            int j0 = bucket(std::fmin(s.a.z, s.b.z) - s.reach), j1 = bucket(std::fmax(s.a.z, s.b.z) + s.reach);
            for (int bj = j0; bj <= j1; bj++)
                for (int bi = i0; bi <= i1; bi++)
                    buckets[{bi, bj}].push_back(id);
        }
    }

    // Whether the strip covers q with `margin` to spare.
    bool covers(V2 q, float margin) const
    {
        auto found = buckets.find({bucket(q.x), bucket(q.z)});
        if (found == buckets.end())
            return false;
        for (int id : found->second) {
            const Segment &s = segments[size_t(id)];
            V2 ab = s.b - s.a, aq = q - s.a;
            float l2 = ab.x * ab.x + ab.z * ab.z;
            float t = l2 > 0 ? (aq.x * ab.x + aq.z * ab.z) / l2 : 0;
            t = t < 0 ? 0 : t > 1 ? 1 : t;
            if (len2(q - (s.a + ab * t)) < s.reach - margin)
                return true;
        }
        return false;
    }

private:
    struct Segment {
        V2 a, b;
        float reach; // from the centre line to the pavement's outer edge, on the narrower side
    };
    std::vector<Segment> segments;
    std::map<std::pair<int, int>, std::vector<int>> buckets;

    static int bucket(float v) { return int(std::floor(v / 16.0f)); }
    // The pavement's outer edge, drawn in to the corner's radius on the inside of a tight bend
    // (as the road's builder draws it there; taken on both sides to keep this simple and safe).
    static float reachOf(const PathSample &s)
    {
        float want = s.hw + kBarrier + kPavement;
        return s.radius > 0 ? std::fmin(want, s.radius - 0.4f) : want;
    }
};

// Which triangles of square (i, j)'s small squares the road strip hides, or none when it hides
// none (the square is then kept whole). The strip is asked on a lattice finer than the small
// squares, with room for the gaps between its points.
static std::vector<bool> hiddenGround(const GroundSquares &g, int i, int j, const StripCover &strip)
{
    const int K = kGroundSplit, L = kGroundSplit * kGroundProbes;
    const float spacing = kGroundSquare / float(L);
    const float room = kGroundCoverMargin + spacing * 0.7072f;
    float sx = g.x0 + float(i) * kGroundSquare, sz = g.z0 + float(j) * kGroundSquare;
    std::vector<bool> covered(size_t((L + 1) * (L + 1)));
    for (int b = 0; b <= L; b++)
        for (int a = 0; a <= L; a++)
            covered[size_t(b * (L + 1) + a)] = strip.covers(V2{sx + float(a) * spacing, sz + float(b) * spacing}, room);
    // Each small square's two triangles, split as the square is along its first corner's
    // diagonal: the first has the small square's corner (1, 0), the second its corner (0, 1).
    std::vector<bool> hide(size_t(K * K * 2), false);
    bool any = false;
    for (int w = 0; w < K; w++)
        for (int u = 0; u < K; u++)
            for (int half = 0; half < 2; half++) {
                bool all = true;
                for (int b = 0; b <= kGroundProbes && all; b++)
                    for (int a = 0; a <= kGroundProbes && all; a++)
                        if (half == 0 ? a >= b : b >= a)
                            all = covered[size_t((w * kGroundProbes + b) * (L + 1) + u * kGroundProbes + a)];
                hide[size_t((w * K + u) * 2 + half)] = all;
                any = any || all;
            }
    return any ? hide : std::vector<bool>{};
}

namespace {

struct VisualBuilder {
    const TrackDef &def;
    const TrackPath &p;
    TrackContent &out;
    ModelMesh &m;
    std::vector<bool> right;
    uint32_t seed;
    struct Stub {
        V2 a, b; // axis from the mouth outward
        float hw;
    };
    std::vector<Stub> stubs;

    VisualBuilder(const TrackDef &d, const TrackPath &path, TrackContent &o)
        : def(d), p(path), out(o), m(o.visual), right(turnsRight(path)), seed(uint32_t(d.number) * 7919u) {}

    float rnd(uint32_t a, uint32_t b = 0) { return hashNoise(seed, a, b); }

    int tex(const std::string &name)
    {
        int mat = m.material(name, worldTexturePath(name));
        float glow = worldTextureGlow(name);
        for (int k = 0; k < 3; k++)
            m.materials[size_t(mat)].emissive[k] = glow;
        return mat;
    }

    bool nearStub(V2 q, float margin) const
    {
        for (const Stub &s : stubs) {
            V2 ab = s.b - s.a;
            float l2 = ab.x * ab.x + ab.z * ab.z;
            float t = ((q.x - s.a.x) * ab.x + (q.z - s.a.z) * ab.z) / l2;
            if (t < -0.2f || t > 1.0f)
                continue;
            t = t < 0 ? 0 : t;
            V2 c = s.a + ab * t;
            if (len2(q - c) < s.hw + margin)
                return true;
        }
        return false;
    }

    // The ground. What lies under the circuit's road, barriers and pavements is never seen, yet
    // the renderer rasterises and depth-tests every pixel of it; so a square the road strip
    // crosses is built from small squares on its own two planes, and their triangles wholly under
    // the strip are left out. A whole square beside a split one takes the split one's corners
    // along their shared edge (its triangles fanned from their middles), so no crack opens where
    // they meet.
    void ground()
    {
        float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
        for (const PathSample &s : p.samples) {
            x0 = std::fmin(x0, s.p.x);
            x1 = std::fmax(x1, s.p.x);
            z0 = std::fmin(z0, s.p.z);
            z1 = std::fmax(z1, s.p.z);
        }
        const float margin = 90;
        GroundSquares g;
        g.x0 = std::floor((x0 - margin) / kGroundSquare) * kGroundSquare;
        g.z0 = std::floor((z0 - margin) / kGroundSquare) * kGroundSquare;
        g.nx = int(std::ceil((x1 + margin - g.x0) / kGroundSquare));
        g.nz = int(std::ceil((z1 + margin - g.z0) / kGroundSquare));
        for (int j = 0; j <= g.nz; j++)
            for (int i = 0; i <= g.nx; i++) {
                float x = g.x0 + float(i) * kGroundSquare, z = g.z0 + float(j) * kGroundSquare;
                g.height.push_back(groundHeight(x, z) - 0.35f);
            }
        StripCover strip(p);
        // For each square, which of its small squares' triangles are left out; none listed keeps
        // it whole.
        std::vector<std::vector<bool>> hidden;
        for (int j = 0; j < g.nz; j++)
            for (int i = 0; i < g.nx; i++)
                hidden.push_back(hiddenGround(g, i, j, strip));
        auto split = [&](int i, int j) {
            return i >= 0 && j >= 0 && i < g.nx && j < g.nz && !hidden[size_t(j * g.nx + i)].empty();
        };
        const int K = kGroundSplit;
        int mat = tex("ground");
        m.faceAwayFrom(kDeepBelow);
        for (int j = 0; j < g.nz; j++)
            for (int i = 0; i < g.nx; i++) {
                Vec3 n = normalize(cross(g.at(i, j, K, K) - g.at(i, j, 0, 0), g.at(i, j, 0, K) - g.at(i, j, K, 0)));
                auto piece = [&](Vec3 a, Vec3 b, Vec3 c) {
                    m.tri(mat, a, b, c, groundUv(a), groundUv(b), groundUv(c), n, n, n);
                };
                const std::vector<bool> &gone = hidden[size_t(j * g.nx + i)];
                if (!gone.empty()) {
                    for (int w = 0; w < K; w++)
                        for (int u = 0; u < K; u++) {
                            if (!gone[size_t((w * K + u) * 2)])
                                piece(g.at(i, j, u, w), g.at(i, j, u + 1, w), g.at(i, j, u + 1, w + 1));
                            if (!gone[size_t((w * K + u) * 2 + 1)])
                                piece(g.at(i, j, u, w), g.at(i, j, u + 1, w + 1), g.at(i, j, u, w + 1));
                        }
                    continue;
                }
                // Each triangle's outline, with a split neighbour's corners on the edges it shares.
                struct Corner {
                    int u, w;
                };
                std::vector<Vec3> rim;
                auto edge = [&](Corner from, Corner to, bool neighbourSplit) {
                    int steps = neighbourSplit ? K : 1;
                    for (int k = 0; k < steps; k++)
                        rim.push_back(g.at(i, j, from.u + (to.u - from.u) * k / steps, from.w + (to.w - from.w) * k / steps));
                };
                for (int half = 0; half < 2; half++) {
                    rim.clear();
                    if (half == 0) {
                        edge({0, 0}, {K, 0}, split(i, j - 1));
                        edge({K, 0}, {K, K}, split(i + 1, j));
                        edge({K, K}, {0, 0}, false);
                    } else {
                        edge({0, 0}, {K, K}, false);
                        edge({K, K}, {0, K}, split(i, j + 1));
                        edge({0, K}, {0, 0}, split(i - 1, j));
                    }
                    if (rim.size() == 3) {
                        piece(rim[0], rim[1], rim[2]);
                        continue;
                    }
                    Vec3 middle = (g.at(i, j, 0, 0) + g.at(i, j, K, K) + g.at(i, j, half == 0 ? K : 0, half == 0 ? 0 : K)) *
                                  (1.0f / 3.0f);
                    for (size_t k = 0; k < rim.size(); k++)
                        piece(middle, rim[k], rim[(k + 1) % rim.size()]);
                }
            }
        m.faceFreely();
    }

    void road()
    {
        int road = tex("road"), bar = tex("barrier"), pave = tex("pavement");
        size_t n = p.samples.size();
        Strip edge[2], barTop0[2], barTop1[2], barOut[2], paveIn[2], paveOut[2];
        for (int k = 0; k < 2; k++) {
            int side = k == 0 ? -1 : 1;
            edge[k] = offsetLine(p, right, side, 0, true);
            barTop0[k] = offsetLine(p, right, side, 0.25f, true);
            barTop1[k] = offsetLine(p, right, side, 0.75f, true);
            barOut[k] = offsetLine(p, right, side, kBarrier, true);
            // The barrier's back leans in, so the pavement starts a little inside it: a look
            // down past the barrier's top meets the pavement, never a slit under it.
            paveIn[k] = offsetLine(p, right, side, kBarrier - kPaveTuck, true);
            paveOut[k] = offsetLine(p, right, side, kBarrier + kPavement, true);
        }
        float v = 0;
        for (size_t i = 0; i < n; i++) {
            size_t j = (i + 1) % n;
            float seg = len2(p.samples[j].p - p.samples[i].p);
            float v2 = v + seg / 16.0f;
            m.faceAwayFrom(kDeepBelow);
            m.quad(road, at3(edge[0].pts[i], 0), at3(edge[1].pts[i], 0), at3(edge[1].pts[j], 0),
                   at3(edge[0].pts[j], 0), Uv{0, v}, Uv{1, v}, Uv{1, v2}, Uv{0, v2});
            float b0 = v * 4, b1 = v2 * 4; // barrier texture repeats every 4 units
            for (int k = 0; k < 2; k++) {
                Vec3 e0 = at3(edge[k].pts[i], 0), e1 = at3(edge[k].pts[j], 0);
                Vec3 t0 = at3(barTop0[k].pts[i], 1.1f), t1 = at3(barTop0[k].pts[j], 1.1f);
                Vec3 u0 = at3(barTop1[k].pts[i], 1.1f), u1 = at3(barTop1[k].pts[j], 1.1f);
                Vec3 o0 = at3(barOut[k].pts[i], 0), o1 = at3(barOut[k].pts[j], 0);
                // The barrier and the pavement behind it close solids along the road.
                m.faceAwayFrom((e0 + e1 + o0 + o1) * 0.25f + v3(0, 0.5f, 0));
                m.quad(bar, e0, e1, t1, t0, Uv{b0, 1}, Uv{b1, 1}, Uv{b1, 0}, Uv{b0, 0});
                m.quad(bar, t0, t1, u1, u0, Uv{b0, 0.28f}, Uv{b1, 0.28f}, Uv{b1, 0.3f}, Uv{b0, 0.3f});
                m.quad(bar, o0, o1, u1, u0, Uv{b0, 1}, Uv{b1, 1}, Uv{b1, 0}, Uv{b0, 0});
                Vec3 p0 = at3(paveIn[k].pts[i], 0.15f), p1 = at3(paveIn[k].pts[j], 0.15f);
                Vec3 q0 = at3(paveOut[k].pts[i], 0.15f), q1 = at3(paveOut[k].pts[j], 0.15f);
                m.faceAwayFrom((p0 + p1 + q0 + q1) * 0.25f - v3(0, 0.25f, 0));
                float tuck = -kPaveTuck / kPavement; // the texture stays where it was
                m.quad(pave, p0, p1, q1, q0, Uv{tuck, v * 4}, Uv{tuck, v2 * 4}, Uv{1, v2 * 4}, Uv{1, v * 4});
                Vec3 g0 = at3(paveOut[k].pts[i], -0.35f), g1 = at3(paveOut[k].pts[j], -0.35f);
                m.quad(pave, q0, q1, g1, g0, Uv{0, v * 4}, Uv{0, v2 * 4}, Uv{0.1f, v2 * 4}, Uv{0.1f, v * 4});
            }
            v = v2;
        }
        m.faceFreely();
    }

    void startLine()
    {
        PathSample s = p.at(p.startLineS);
        V2 r = rightOf(s.t);
        int mat = tex("startline");
        V2 a = s.p - s.t * 0.9f, b = s.p + s.t * 0.9f;
        float hw = s.hw;
        m.faceAwayFrom(kDeepBelow);
        m.quad(mat, at3(a - r * hw, 0.04f), at3(a + r * hw, 0.04f), at3(b + r * hw, 0.04f), at3(b - r * hw, 0.04f),
               Uv{0, 0}, Uv{hw * 2 / 3.6f, 0}, Uv{hw * 2 / 3.6f, 0.5f}, Uv{0, 0.5f});
        // Grid boxes: a painted bar in front of each slot.
        int white = tex("roadpaint");
        for (int k = 0; k < 4; k++) {
            V2 c{def.startX + 3.6f, def.startZ + kGrid * float(k)};
            V2 q[4] = {{c.x, c.z - 1.4f}, {c.x + 0.35f, c.z - 1.4f}, {c.x + 0.35f, c.z + 1.4f}, {c.x, c.z + 1.4f}};
            m.quad(white, at3(q[0], 0.04f), at3(q[1], 0.04f), at3(q[2], 0.04f), at3(q[3], 0.04f), {}, {}, {}, {});
        }
        m.faceFreely();
        // Gantry over the line with the banner on both faces and two lamps.
        int metal = tex("metal"), banner = tex("banner");
        float reach = hw + kBarrier + 1.5f;
        V2 left = s.p - r * reach, rightP = s.p + r * reach;
        m.box(metal, at3(left, 0), v3(s.t.x, 0, s.t.z), 0.3f, 0.3f, 8.2f, 0.5f);
        m.box(metal, at3(rightP, 0), v3(s.t.x, 0, s.t.z), 0.3f, 0.3f, 8.2f, 0.5f);
        float y0 = groundHeight(s.p.x, s.p.z);
        for (int face = -1; face <= 1; face += 2) {
            V2 off = s.t * (0.35f * float(face));
            Vec3 a0 = v3(left.x + off.x, y0 + 6.2f, left.z + off.z), a1 = v3(rightP.x + off.x, y0 + 6.2f, rightP.z + off.z);
            Vec3 up = v3(0, 2.0f, 0);
            // Open underneath: a car passing below sees the banners' backs and the beam's underside.
            if (face < 0)
                m.twoSidedQuad(banner, a0, a1, a1 + up, a0 + up, Uv{0, 1}, Uv{1, 1}, Uv{1, 0}, Uv{0, 0});
            else
                m.twoSidedQuad(banner, a1, a0, a0 + up, a1 + up, Uv{0, 1}, Uv{1, 1}, Uv{1, 0}, Uv{0, 0});
        }
        m.twoSidedQuad(metal, v3(left.x - s.t.x * 0.35f, y0 + 8.2f, left.z - s.t.z * 0.35f),
               v3(rightP.x - s.t.x * 0.35f, y0 + 8.2f, rightP.z - s.t.z * 0.35f),
               v3(rightP.x + s.t.x * 0.35f, y0 + 8.2f, rightP.z + s.t.z * 0.35f),
               v3(left.x + s.t.x * 0.35f, y0 + 8.2f, left.z + s.t.z * 0.35f), {}, {}, {}, {});
        for (int k = -1; k <= 1; k += 2) {
            V2 q = s.p + r * (hw * 0.5f * float(k));
            addLight(v3(q.x, y0 + 6.0f, q.z), kCoolWhite);
        }
    }

    void addLight(Vec3 at, const float *colour)
    {
        char name[32];
        std::snprintf(name, sizeof name, "lamp%02x%02x%02x", int(colour[0] * 255), int(colour[1] * 255),
                      int(colour[2] * 255));
        int mat = out.lights.lampMaterial(name, colour[0], colour[1], colour[2]);
        // A small triangle whose centroid is the lamp itself.
        Vec3 a = at + v3(0.3f, 0, 0), b = at + v3(-0.15f, 0, 0.26f), c = at + v3(-0.15f, 0, -0.26f);
        out.lights.tri(mat, a, b, c, {}, {}, {});
        out.lampPositions.push_back(at);
        out.lampColours.push_back(v3(colour[0], colour[1], colour[2]));
    }

    void sideStreets()
    {
        int road = tex("road"), closure = tex("closure"), pave = tex("pavement");
        uint32_t id = 100; // one per street built, whether its closing building fits or not
        for (const Crossing &c : p.sideStreets) {
            // The mouth: where the side street leaves the circuit's barrier line.
            float t0 = 0;
            float sAt = 0;
            while (t0 < 60) {
                V2 q = c.node + c.dir * t0;
                float d = p.distanceTo(q, &sAt);
                if (d >= p.at(sAt).hw + kBarrier + 0.3f)
                    break;
                t0 += 0.5f;
            }
            float length = 45;
            // Keep clear of other parts of the circuit.
            for (float t = t0 + 2; t < t0 + length; t += 2) {
                float d = p.distanceTo(c.node + c.dir * t);
                if (d < t - 4 && d < 2 * c.halfWidth + 16) {
                    length = t - t0 - 6;
                    break;
                }
            }
            if (length < 8)
                continue;
            // The circuit's pavement runs on across the mouth; the side street begins behind it.
            V2 a = c.node + c.dir * (t0 + kPavement - 0.3f), b = c.node + c.dir * (t0 + length);
            stubs.push_back(Stub{a, b, c.halfWidth});
            V2 r = rightOf(c.dir);
            float hw = c.halfWidth;
            m.faceAwayFrom(kDeepBelow);
            m.quad(road, at3(a - r * hw, -0.02f), at3(a + r * hw, -0.02f), at3(b + r * hw, -0.02f),
                   at3(b - r * hw, -0.02f), Uv{0, 0}, Uv{1, 0}, Uv{1, length / 16}, Uv{0, length / 16});
            for (int side = -1; side <= 1; side += 2) {
                V2 e0 = a + r * (hw * float(side)), e1 = b + r * (hw * float(side));
                V2 f0 = a + r * ((hw + kPavement) * float(side)), f1 = b + r * ((hw + kPavement) * float(side));
                m.quad(pave, at3(e0, 0.14f), at3(e1, 0.14f), at3(f1, 0.14f), at3(f0, 0.14f), Uv{0, 0},
                       Uv{0, length / 4}, Uv{1, length / 4}, Uv{1, 0});
            }
            m.faceFreely();
            // The closure: a chevron board just behind the circuit's barrier.
            V2 m0 = c.node + c.dir * (t0 + 1.0f);
            Vec3 l0 = at3(m0 - r * hw, 0.2f), l1 = at3(m0 + r * hw, 0.2f);
            Vec3 up = v3(0, 1.6f, 0);
            m.twoSidedQuad(closure, l0, l1, l1 + up, l0 + up, Uv{0, 1}, Uv{hw / 3, 1}, Uv{hw / 3, 0}, Uv{0, 0});
            // A building closes the far end of the view, unless it would stand on another stretch
            // of the circuit (where the street runs up to one, that stretch's barrier closes it).
            V2 endC = b + c.dir * 8.0f;
            if (footprintClear(endC, c.dir, 8, hw + kPavement, kBarrier + kPavement - 0.2f, false))
                addBuilding(endC, c.dir * -1.0f, 8, hw + kPavement, 12 + rnd(uint32_t(t0 * 10), 5) * 20, id);
            id++;
        }
    }

    // Whether a building's walls, standing from `yb`, meet the ground all along their foot (a
    // building that could be looked under is not solid), and if so the highest ground there:
    // from it up to the roof, nothing can be seen through the building.
    bool standsClosed(const V2 c[4], float yb, float *highest) const
    {
        *highest = -1e30f;
        for (int i = 0; i < 4; i++)
            for (int k = 0; k <= kSolidProbes; k++) {
                V2 p = c[i] + (c[(i + 1) % 4] - c[i]) * (float(k) / kSolidProbes);
                float g = groundHeight(p.x, p.z);
                if (g < yb)
                    return false;
                *highest = std::fmax(*highest, g);
            }
        return true;
    }

    // A building standing on its footprint round `centre`, its front towards `facing` (the street).
    void addBuilding(V2 centre, V2 facing, float halfDepth, float halfWidth, float height, uint32_t id)
    {
        int style = int(hashNoise(seed, id, 11) * 6);
        if (style > 5)
            style = 5;
        if (style == 2)
            height += 15; // glass towers stand taller
        char name[24];
        std::snprintf(name, sizeof name, "facade%d", style);
        int wall = tex(name), roof = tex("roof"), shop = tex("shopfront"), metal = tex("metal");
        float yb = groundHeight(centre.x, centre.z) - 0.35f, yt = yb + 0.35f + height;
        V2 f = norm2(facing), r = rightOf(f);
        V2 c[4] = {centre + f * halfDepth + r * halfWidth, centre - f * halfDepth + r * halfWidth,
                   centre - f * halfDepth - r * halfWidth, centre + f * halfDepth - r * halfWidth};
        bool shops = style != 2 && hashNoise(seed, id, 13) < 0.6f;
        const float shopTop = 4.35f;
        m.faceAwayFrom(v3(centre.x, (yb + yt) * 0.5f, centre.z));
        for (int i = 0; i < 4; i++) {
            V2 a = c[i], b = c[(i + 1) % 4];
            float u = len2(b - a) / 16.0f;
            bool front = i == 3; // from front-left to front-right, facing the street
            float split = front && shops ? yb + shopTop : yb;
            if (front && shops)
                m.quad(shop, v3(a.x, yb, a.z), v3(b.x, yb, b.z), v3(b.x, split, b.z), v3(a.x, split, a.z),
                       Uv{0, 1}, Uv{u, 1}, Uv{u, 0}, Uv{0, 0});
            // The other walls are split at the shop front's top too: the side walls meet the
            // front's corners there, and the back wall the side walls', so every edge shares
            // that corner and no crack opens along a corner into the building.
            auto wallPart = [&](float y0, float y1) {
                float v0 = (yt - y0) / 16.0f, v1 = (yt - y1) / 16.0f;
                m.quad(wall, v3(a.x, y0, a.z), v3(b.x, y0, b.z), v3(b.x, y1, b.z), v3(a.x, y1, a.z), Uv{0, v0},
                       Uv{u, v0}, Uv{u, v1}, Uv{0, v1});
            };
            if (shops && !front) {
                wallPart(yb, yb + shopTop);
                wallPart(yb + shopTop, yt);
            } else {
                wallPart(split, yt);
            }
        }
        m.quad(roof, v3(c[0].x, yt, c[0].z), v3(c[1].x, yt, c[1].z), v3(c[2].x, yt, c[2].z), v3(c[3].x, yt, c[3].z),
               Uv{0, 0}, Uv{2, 0}, Uv{2, 2}, Uv{0, 2});
        // Plant on some roofs breaks the skyline.
        if (hashNoise(seed, id, 14) < 0.45f) {
            float sz = 1.2f + hashNoise(seed, id, 15) * 2.0f;
            V2 at = centre - f * (halfDepth * 0.3f) + r * (halfWidth * (hashNoise(seed, id, 16) - 0.5f));
            m.box(metal, v3(at.x, yt, at.z), v3(f.x, 0, f.z), sz, sz * 0.8f, 1.0f + sz, 0.5f);
        }
        m.faceFreely();
        TrackContent::Footprint fp;
        for (int k = 0; k < 4; k++)
            fp.c[k] = c[k];
        fp.closed = standsClosed(c, yb, &fp.bottom);
        fp.top = yt;
        out.buildings.push_back(fp);
    }

    // The blocks behind the street fronts: a tower in every city block the circuit leaves clear,
    // so the gaps between the street fronts show more city and not empty ground.
    void skyline()
    {
        float x0 = 1e9f, x1 = -1e9f, z0 = 1e9f, z1 = -1e9f;
        for (const PathSample &q : p.samples) {
            x0 = std::fmin(x0, q.p.x);
            x1 = std::fmax(x1, q.p.x);
            z0 = std::fmin(z0, q.p.z);
            z1 = std::fmax(z1, q.p.z);
        }
        const float step = 42;
        uint32_t id = 9000;
        for (float z = std::floor((z0 - 150) / step) * step; z < z1 + 150; z += step)
            for (float x = std::floor((x0 - 150) / step) * step; x < x1 + 150; x += step) {
                id++;
                V2 c{x + (hashNoise(7, id, 1) - 0.5f) * 16, z + (hashNoise(7, id, 2) - 0.5f) * 16};
                float half = 7 + hashNoise(7, id, 3) * 6;
                if (p.distanceTo(c) < p.samples[0].hw + 40 + half)
                    continue;
                if (nearStub(c, 30) || overlapsBuilding(c, half * 1.5f))
                    continue;
                float h = 30 + hashNoise(7, id, 4) * 45;
                float turn = (hashNoise(7, id, 5) - 0.5f) * 0.3f; // the city's grid, give or take
                V2 facing = hashNoise(7, id, 6) < 0.5f ? V2{std::cos(turn), std::sin(turn)} : V2{-std::sin(turn), std::cos(turn)};
                addBuilding(c, facing, half, half, h, id);
            }
    }

    // Corner plots on the inside of tight bends, which the rows along the road leave empty.
    void cornerBuildings()
    {
        size_t n = p.samples.size();
        uint32_t id = 5000;
        for (size_t i = 0; i < n; i++) {
            const PathSample &a = p.samples[i];
            if (a.radius <= 0 || a.radius > 60)
                continue;
            // The middle sample of each corner arc.
            size_t first = i;
            while (i + 1 < n && p.samples[i + 1].radius == a.radius)
                i++;
            const PathSample &mid = p.samples[(first + i) / 2];
            bool turnRight = right[(first + i) / 2];
            V2 in = rightOf(mid.t) * (turnRight ? 1.0f : -1.0f);
            for (float size : {11.0f, 8.0f, 5.5f}) {
                V2 centre = mid.p + in * (mid.radius + size * 0.9f);
                if (footprintClear(centre, in * -1.0f, size, size, kBarrier + kPavement - 0.2f) &&
                    !overlapsBuilding(centre, size * 1.2f)) {
                    addBuilding(centre, in * -1.0f, size, size, 10 + hashNoise(seed, id, 2) * 20, id);
                    break;
                }
            }
            id++;
        }
    }

    bool overlapsBuilding(V2 centre, float radius) const
    {
        for (const auto &b : out.buildings) {
            V2 c = (b.c[0] + b.c[2]) * 0.5f;
            float rb = len2(b.c[0] - b.c[2]) * 0.5f;
            if (len2(c - centre) < radius + rb * 0.7f)
                return true;
        }
        return false;
    }

    // Whether a footprint keeps `needed` clear of the circuit's road edge (and, unless it closes a
    // side street itself, of the side streets): judged at its corners, edges' middles and centre.
    bool footprintClear(V2 c, V2 f, float hd, float hwid, float needed, bool streetsToo = true)
    {
        V2 r = rightOf(f);
        for (int i = -1; i <= 1; i++)
            for (int j = -1; j <= 1; j++) {
                V2 q = c + f * (hd * float(i)) + r * (hwid * float(j));
                float sAt;
                float d = p.distanceTo(q, &sAt);
                if (d < p.at(sAt).hw + needed)
                    return false;
                if (streetsToo && nearStub(q, kPavement + 0.5f))
                    return false;
            }
        return true;
    }

    void buildings()
    {
        uint32_t id = 0;
        int neons = 0;
        for (int side = -1; side <= 1; side += 2) {
            float s = 0;
            while (s < p.length) {
                id++;
                float w = 12 + rnd(id, 1) * 14;
                PathSample a = p.at(s), b = p.at(s + w);
                V2 fa = a.p + rightOf(a.t) * ((a.hw + kBarrier + kPavement + 0.3f) * float(side));
                V2 fb = b.p + rightOf(b.t) * ((b.hw + kBarrier + kPavement + 0.3f) * float(side));
                V2 front = (fa + fb) * 0.5f;
                V2 along = fb - fa;
                float width = len2(along);
                if (width < 6) {
                    s += 4;
                    continue;
                }
                V2 out2 = rightOf(norm2(along)) * float(side); // away from the road
                bool placed = false;
                float depths[3] = {14 + rnd(id, 2) * 14, 10, 6};
                for (float depth : depths) {
                    V2 centre = front + out2 * (depth * 0.5f);
                    if (footprintClear(centre, out2, depth * 0.5f, width * 0.5f, kBarrier + kPavement - 0.2f)) {
                        float h = 9 + rnd(id, 3) * 26;
                        addBuilding(centre, out2 * -1.0f, depth * 0.5f, width * 0.5f, h, id);
                        if (neons < 10 && rnd(id, 4) < 0.16f && h > 12)
                            neon(front + out2 * -0.25f, out2 * -1.0f, width, id, neons++);
                        placed = true;
                        break;
                    }
                }
                s += placed ? w + 0.6f : 4;
            }
        }
    }

    void neon(V2 front, V2 facing, float width, uint32_t id, int count)
    {
        int kind = int(hashNoise(seed, id, 12) * 6) % 6;
        char name[24];
        std::snprintf(name, sizeof name, "neon%d", kind);
        int mat = tex(name);
        V2 r = rightOf(facing);
        float hw = std::fmin(width * 0.4f, 5.0f), h = hw * 0.5f;
        float y = groundHeight(front.x, front.z) + 4.5f + float(count % 3);
        Vec3 a = v3(front.x - r.x * hw, y, front.z - r.z * hw), b = v3(front.x + r.x * hw, y, front.z + r.z * hw);
        Vec3 up = v3(0, h, 0);
        // The sign faces the street; seen from the street the letters read left to right.
        m.twoSidedQuad(mat, b, a, a + up, b + up, Uv{0, 1}, Uv{1, 1}, Uv{1, 0}, Uv{0, 0});
        if (count % 2 == 0) {
            V2 glow = front + facing * 1.5f;
            addLight(v3(glow.x, y + h * 0.5f, glow.z), kNeon[kind]);
        }
    }

    // Chevron boards on the barrier round the outside of every tight bend.
    void chevrons()
    {
        int board = tex("closure");
        size_t n = p.samples.size();
        for (size_t i = 0; i < n; i++) {
            const PathSample &a = p.samples[i], &b = p.samples[(i + 1) % n];
            if (a.radius <= 0 || a.radius > 40 || b.radius != a.radius)
                continue;
            int side = right[i] ? -1 : 1; // outside of the turn
            V2 p0 = a.p + rightOf(a.t) * ((a.hw + kBarrier * 0.5f) * float(side));
            V2 p1 = b.p + rightOf(b.t) * ((b.hw + kBarrier * 0.5f) * float(side));
            Vec3 l0 = at3(p0, 1.15f), l1 = at3(p1, 1.15f);
            Vec3 up = v3(0, 1.3f, 0);
            float u = len2(p1 - p0) / 2.6f;
            m.twoSidedQuad(board, l0, l1, l1 + up, l0 + up, Uv{0, 1}, Uv{u, 1}, Uv{u, 0}, Uv{0, 0});
        }
    }

    void lamps()
    {
        int metal = tex("metal"), head = tex("lamphead");
        float spacing = p.length / std::fmax(1.0f, std::round(p.length / 27.0f));
        int side = 1;
        for (float s = 6; s < p.length - 3; s += spacing, side = -side) {
            float sl = p.startLineS + s;
            PathSample q = p.at(sl);
            V2 r = rightOf(q.t) * float(side);
            V2 post = q.p + r * (q.hw + kBarrier + 1.2f);
            float sAt;
            if (p.distanceTo(post, &sAt) < p.at(sAt).hw + kBarrier + 0.5f || nearStub(post, 1.0f))
                continue;
            float y0 = groundHeight(post.x, post.z) + 0.15f;
            m.box(metal, v3(post.x, y0, post.z), v3(q.t.x, 0, q.t.z), 0.15f, 0.15f, 8.6f, 0.5f);
            // Arm reaching out over the road edge, the head at its tip.
            V2 tip = post - r * 3.0f;
            V2 mid = (post + tip) * 0.5f;
            Vec3 armBase = v3(mid.x, y0 + 8.4f, mid.z);
            m.box(metal, armBase, v3(r.x, 0, r.z), 1.5f, 0.1f, 0.2f, 0.5f, true);
            Vec3 headBase = v3(tip.x, y0 + 8.2f, tip.z);
            m.box(metal, headBase, v3(r.x, 0, r.z), 0.5f, 0.3f, 0.35f, 0.5f, true);
            V2 h0 = tip + r * 0.45f, h1 = tip - r * 0.45f;
            V2 rr = rightOf(r) * 0.25f;
            float hy = y0 + 8.18f;
            m.twoSidedQuad(head, v3(h0.x - rr.x, hy, h0.z - rr.z), v3(h1.x - rr.x, hy, h1.z - rr.z),
                   v3(h1.x + rr.x, hy, h1.z + rr.z), v3(h0.x + rr.x, hy, h0.z + rr.z), {}, {}, {}, {});
            const Street &st = streets[size_t(q.street)];
            addLight(v3(tip.x, y0 + 8.0f, tip.z), st.lampStyle == 0 ? kSodium : kCoolWhite);
        }
    }
};

} // namespace

bool buildTrack(const TrackDef &def, TrackContent &out)
{
    out = TrackContent{};
    if (!buildTrackPath(def, out.path)) {
        std::fprintf(stderr, "gen3d: track %d: %s\n", def.number, out.path.error.c_str());
        return false;
    }
    out.start = v3(def.startX, trackStartY(def), def.startZ);
    buildCollision(out.path, out.collision);
    buildWaypoints(out.path, out.waypoints);
    VisualBuilder vb(def, out.path, out);
    vb.ground();
    vb.road();
    vb.startLine();
    vb.sideStreets();
    vb.lamps();
    vb.buildings();
    vb.cornerBuildings();
    vb.skyline();
    vb.chevrons();
    // Every face of the city was built either to look away from a point (the inside of its solid,
    // or deep below for the ground) or to be seen from both sides, so the game draws it without
    // back faces.
    out.visual.orientFaces([](Vec3, Vec3 n) { return n; });
    const TrackPath &path = out.path;
    out.collision.orientFaces([&](Vec3 c, Vec3 n) {
        if (std::fabs(n.y) > 0.7f)
            return v3(0, 1, 0);
        float s = 0;
        path.distanceTo(V2{c.x, c.z}, &s);
        V2 q = path.at(s).p;
        return v3(q.x - c.x, 0, q.z - c.z);
    });
    return true;
}

bool writeTrack(const TrackDef &def, const TrackContent &t, const std::string &baseDir)
{
    std::string dir = baseDir + "/maps/" + std::to_string(def.number);
    bool ok = writeMs3d(t.collision, dir + "/map.ms3d");
    ok = writeMs3d(t.visual, dir + "/mapvisual.ms3d") && ok;
    ok = writeMs3d(t.lights, dir + "/light.ms3d") && ok;
    ok = writeFileBytes(dir + "/points/level.ai", encodeWaypoints(t.waypoints)) && ok;
    ok = writeFileBytes(dir + "/buildings.dat", encodeBuildings(t.buildings)) && ok;
    return ok;
}
