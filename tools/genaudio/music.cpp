// The five tunes: a seeded composer (progressions, bass lines, drum patterns and a lead motif)
// and a small synthesiser. Notes are mixed into the tune's buffer at positions taken modulo its
// length, so whatever rings past the end (releases, drum tails, echoes) sounds again over the
// start: played in a loop, the tune runs on as if it had always been playing.
#include "genaudio.h"

#include <algorithm>

#include "platform/sys_files.h"

namespace {

constexpr float kRate = float(kMusicRate);

float midiHz(float m) { return 440.0f * std::pow(2.0f, (m - 69.0f) / 12.0f); }

// ---- the mix bus -------------------------------------------------------------------------

struct Bus {
    long frames = 0;
    std::vector<float> l, r;          // dry mix
    std::vector<float> sendL, sendR;  // into the echo

    explicit Bus(long n) : frames(n)
    {
        for (std::vector<float> *v : {&l, &r, &sendL, &sendR})
            v->assign(size_t(n), 0.0f);
    }

    // Adds a mono note at a pan position (-1 left .. 1 right) with part of it sent to the echo.
    void mix(long start, const std::vector<float> &note, float pan, float send)
    {
        float gl = std::cos((pan + 1.0f) * kPi * 0.25f), gr = std::sin((pan + 1.0f) * kPi * 0.25f);
        long at = ((start % frames) + frames) % frames;
        for (size_t i = 0; i < note.size(); i++) {
            float v = note[i];
            l[size_t(at)] += v * gl;
            r[size_t(at)] += v * gr;
            sendL[size_t(at)] += v * gl * send;
            sendR[size_t(at)] += v * gr * send;
            if (++at == frames)
                at = 0;
        }
    }
};

// Ping-pong echo with a darkening feedback path, run over the whole tune twice so that the
// echoes of the last bars already ring over the first bars of the kept pass.
void applyEcho(Bus &bus, long delay, float feedback, float wet)
{
    long n = bus.frames;
    std::vector<float> dl(static_cast<size_t>(n)), dr(static_cast<size_t>(n));
    OnePole toneL, toneR;
    toneL.setCutoff(kRate, 3000);
    toneR.setCutoff(kRate, 3000);
    for (int lap = 0; lap < 2; lap++)
        for (long i = 0; i < n; i++) {
            long j = (i - delay + n) % n;
            dl[size_t(i)] = bus.sendL[size_t(i)] + feedback * toneL.lowpass(dr[size_t(j)]);
            dr[size_t(i)] = bus.sendR[size_t(i)] + feedback * toneR.lowpass(dl[size_t(j)]);
        }
    for (long i = 0; i < n; i++) {
        long j = (i - delay + n) % n;
        // The wet signal is the echo line read one delay back, so the dry note is not doubled.
        bus.l[size_t(i)] += wet * dr[size_t(j)];
        bus.r[size_t(i)] += wet * dl[size_t(j)];
    }
}

// ---- instruments ------------------------------------------------------------------------

struct Adsr {
    float attack, decay, sustain, release;
    float length(float hold) const { return hold + release * 6.0f; }
};

// An ADSR note envelope run sample by sample: the note is held for `hold` seconds.
struct Envelope {
    long i = 0, attackN, holdN;
    float sustain;
    Decay dec, rel;
    Envelope(const Adsr &a, float hold)
        : attackN(std::max(1L, long(a.attack * kRate))), holdN(long(hold * kRate)), sustain(a.sustain),
          dec(a.decay, kRate), rel(a.release, kRate)
    {
    }
    float next()
    {
        float v = i < attackN ? float(i) / float(attackN) : sustain + (1.0f - sustain) * dec.next();
        if (i >= holdN)
            v *= rel.next();
        i++;
        return v;
    }
};

std::vector<float> kick(Rng &rng, float vel, bool soft)
{
    std::vector<float> x(size_t(0.4f * kRate));
    double ph = 0;
    Decay sweep(0.028f, kRate), body(soft ? 0.2f : 0.16f, kRate), tick(0.002f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        float f = 46.0f + (soft ? 70.0f : 120.0f) * sweep.next();
        ph += double(f / kRate);
        float thump = std::sin(kTwoPi * float(ph - std::floor(ph))) * body.next();
        float click = soft ? 0.0f : 0.3f * rng.bipolar() * tick.next();
        x[i] = vel * (std::tanh(1.5f * thump) + click);
    }
    return x;
}

std::vector<float> snare(Rng &rng, float vel, bool rim)
{
    std::vector<float> x(size_t((rim ? 0.08f : 0.28f) * kRate));
    Biquad bp = makeBiquad(BiquadKind::BandPass, kRate, rim ? 2500.0f : 1900.0f, 0.7f);
    Biquad hp = makeBiquad(BiquadKind::HighPass, kRate, 500, 0.7071f);
    Decay toneEnv(rim ? 0.01f : 0.05f, kRate), noiseEnv(rim ? 0.012f : 0.09f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        float t = float(i) / kRate;
        float tone = std::sin(kTwoPi * (rim ? 820.0f : 185.0f) * t) * toneEnv.next();
        float noise = hp.run(bp.run(rng.bipolar())) * noiseEnv.next();
        x[i] = vel * (0.6f * tone + 1.6f * noise);
    }
    return x;
}

std::vector<float> hat(Rng &rng, float vel, bool open)
{
    std::vector<float> x(size_t((open ? 0.3f : 0.06f) * kRate));
    Biquad hp = makeBiquad(BiquadKind::HighPass, kRate, 7000, 0.7071f);
    Biquad pk = makeBiquad(BiquadKind::Peak, kRate, 10500, 1.5f, 6);
    Decay env(open ? 0.07f : 0.013f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = vel * pk.run(hp.run(rng.bipolar())) * env.next();
    }
    return x;
}

// Sawtooth plus a sine on the fundamental for weight, through a resonant low-pass that snaps shut after the attack.
std::vector<float> bassNote(float midi, float hold, float vel, bool calm)
{
    Adsr env = calm ? Adsr{0.01f, 0.4f, 0.6f, 0.15f} : Adsr{0.003f, 0.12f, 0.65f, 0.03f};
    std::vector<float> x(size_t(env.length(hold) * kRate));
    float f = midiHz(midi), dt = f / kRate;
    float ph = 0, sub = 0;
    Svf filt;
    Envelope amp(env, hold);
    Decay snap(calm ? 0.25f : 0.07f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        float saw = 2.0f * ph - 1.0f - polyBlep(ph, dt);
        float cut = calm ? 260.0f + 500.0f * snap.next() : 180.0f + 1500.0f * snap.next();
        float v = filt.run(saw, kRate, cut, calm ? 0.9f : 1.6f) + 0.6f * std::sin(kTwoPi * sub);
        x[i] = vel * amp.next() * v;
        ph += dt;
        if (ph >= 1)
            ph -= 1;
        sub += dt;
        if (sub >= 1)
            sub -= 1;
    }
    return x;
}

// Two detuned saws per note, darkened by two one-pole stages; slow attack and long release.
std::vector<float> padNote(float midi, float hold, float vel, bool calm)
{
    Adsr env = calm ? Adsr{0.9f, 1.0f, 1.0f, 0.7f} : Adsr{0.25f, 1.0f, 1.0f, 0.3f};
    std::vector<float> x(size_t(env.length(hold) * kRate));
    float f1 = midiHz(midi + 0.07f), f2 = midiHz(midi - 0.07f);
    float d1 = f1 / kRate, d2 = f2 / kRate;
    float p1 = 0.0f, p2 = 0.37f;
    OnePole a, b;
    a.setCutoff(kRate, calm ? 900.0f : 1500.0f);
    b.setCutoff(kRate, calm ? 1200.0f : 2200.0f);
    Envelope amp(env, hold);
    for (size_t i = 0; i < x.size(); i++) {
        float s = (2 * p1 - 1 - polyBlep(p1, d1)) + (2 * p2 - 1 - polyBlep(p2, d2));
        x[i] = vel * amp.next() * b.lowpass(a.lowpass(s));
        p1 += d1;
        if (p1 >= 1)
            p1 -= 1;
        p2 += d2;
        if (p2 >= 1)
            p2 -= 1;
    }
    return x;
}

// Race: a short plucked pulse. Menu: a soft electric-piano bell.
std::vector<float> arpNote(float midi, float vel, bool calm)
{
    std::vector<float> x(size_t((calm ? 1.2f : 0.3f) * kRate));
    float f = midiHz(midi), dt = f / kRate;
    float ph = 0;
    OnePole lp;
    lp.setCutoff(kRate, 2800);
    Decay body(calm ? 0.45f : 0.07f, kRate), second(0.06f, kRate), tine(0.02f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        float t = float(i) / kRate;
        float v;
        if (calm) {
            float w = kTwoPi * ph;
            v = body.next() * std::sin(w) + 0.35f * second.next() * std::sin(2 * w) + 0.1f * tine.next() * std::sin(7 * w);
        } else {
            float ph2 = ph + 0.75f >= 1.0f ? ph - 0.25f : ph + 0.75f;
            float pulse = (ph < 0.25f ? 1.0f : -1.0f) + polyBlep(ph, dt) - polyBlep(ph2, dt);
            v = lp.lowpass(pulse) * body.next();
        }
        float attack = std::min(1.0f, t / 0.002f);
        x[i] = vel * attack * v;
        ph += dt;
        if (ph >= 1)
            ph -= 1;
    }
    return x;
}

// A singing lead with delayed vibrato: saw and square through a low-pass (race) or a near-sine
// flute-like voice (menu).
std::vector<float> leadNote(float midi, float hold, float vel, bool calm)
{
    Adsr env = calm ? Adsr{0.04f, 0.5f, 0.7f, 0.25f} : Adsr{0.008f, 0.2f, 0.75f, 0.07f};
    std::vector<float> x(size_t(env.length(hold) * kRate));
    float base = midiHz(midi);
    float ph = 0;
    Svf filt;
    Envelope amp(env, hold);
    Decay bite(0.15f, kRate);
    for (size_t i = 0; i < x.size(); i++) {
        float t = float(i) / kRate;
        float vib = std::min(1.0f, std::max(0.0f, (t - 0.18f) / 0.25f)) * (calm ? 0.15f : 0.25f);
        // Semitones to a frequency ratio, to first order: the depth is a fraction of a semitone.
        float f = base * (1.0f + 0.05776f * vib * std::sin(kTwoPi * 5.5f * t));
        float dt = f / kRate;
        float v;
        if (calm) {
            float w = kTwoPi * ph;
            v = std::sin(w) + 0.18f * std::sin(3 * w) + 0.05f * std::sin(5 * w);
        } else {
            float saw = 2 * ph - 1 - polyBlep(ph, dt);
            float ph2 = ph + 0.5f >= 1.0f ? ph - 0.5f : ph + 0.5f;
            float sq = (ph < 0.5f ? 1.0f : -1.0f) + polyBlep(ph, dt) - polyBlep(ph2, dt);
            v = filt.run(0.6f * saw + 0.5f * sq, kRate, 1400.0f + 2200.0f * bite.next(), 1.2f);
        }
        x[i] = vel * amp.next() * v;
        ph += dt;
        if (ph >= 1)
            ph -= 1;
    }
    return x;
}

// ---- composition -------------------------------------------------------------------------

const int minorScale[7] = {0, 2, 3, 5, 7, 8, 10};

// Semitones above the tonic of scale degree d (any integer, octaves included).
int degreeSemis(int d)
{
    int oct = d >= 0 ? d / 7 : -((6 - d) / 7);
    return oct * 12 + minorScale[d - oct * 7];
}

struct Chord {
    int degree;       // 0 = i, 3 = iv, 4 = v, 5 = VI, 6 = VII ...
    bool raisedThird; // the major dominant of the harmonic minor
};

// Four-bar progressions that sit well in a minor key.
const Chord progressions[][4] = {
    {{0, false}, {5, false}, {2, false}, {6, false}},  // i VI III VII
    {{0, false}, {6, false}, {5, false}, {6, false}},  // i VII VI VII
    {{0, false}, {3, false}, {5, false}, {4, true}},   // i iv VI V
    {{5, false}, {6, false}, {0, false}, {0, false}},  // VI VII i i
    {{0, false}, {5, false}, {3, false}, {4, true}},   // i VI iv V
    {{0, false}, {2, false}, {6, false}, {3, false}},  // i III VII iv
};
constexpr int kProgressionCount = int(sizeof progressions / sizeof progressions[0]);

// Semitones above the tonic of chord tone k (0 root, 1 third, 2 fifth, 3 seventh).
int chordTone(const Chord &c, int k)
{
    int s = degreeSemis(c.degree + 2 * k);
    if (c.raisedThird && k == 1)
        s += 1;
    return s;
}

enum Layer : unsigned {
    Kick = 1, Snare = 2, Hats = 4, Bass = 8, Pad = 16, Arp = 32, Lead = 64, LeadAlt = 128, Fill = 256,
    Chorus = 512,  // uses the second progression
};

// Bass rhythms over sixteen steps: r root, o octave, f fifth, - hold, . rest.
const char *bassPatterns[] = {
    "r.r.r.r.r.r.r.o.",
    "r..rr.r.r..rr.or",
    "r-.r-.r.r-.r-.fo",
    "rrorrrorrrorrror",
};
const char *calmBass = "r-------f---r-o-";

// Kick patterns as step masks (bit s = a kick on sixteenth s).
const unsigned kickPatterns[] = {
    0x1111,            // four on the floor
    (1u << 0) | (1u << 3) | (1u << 8) | (1u << 10),
    (1u << 0) | (1u << 6) | (1u << 8) | (1u << 11),
    (1u << 0) | (1u << 4) | (1u << 7) | (1u << 8) | (1u << 12),
};

struct MotifNote {
    int step;    // sixteenth within two bars
    int length;  // in sixteenths
    int offset;  // scale steps above the chord root, an octave up
};

struct Motif {
    MotifNote notes[32];
    int count = 0;
};

Motif makeMotif(Rng &rng, bool calm)
{
    Motif m;
    int grid = calm ? 4 : 2;
    int pos = 0, off = rng.below(3) * 2;
    while (pos < 32 && m.count < 32) {
        int len = grid * (1 + rng.below(calm ? 3 : 3));
        if (!calm && rng.uniform() < 0.25f)
            len = 1;  // a quick pickup
        if (pos % 8 == 0) {
            // Strong beats land on the chord: root, third, fifth or the octave.
            const int tones[4] = {0, 2, 4, 7};
            int best = tones[0];
            for (int t : tones)
                if (std::abs(t - off) < std::abs(best - off))
                    best = t;
            off = best;
        }
        bool rest = pos > 0 && rng.uniform() < (calm ? 0.3f : 0.2f);
        if (!rest)
            m.notes[m.count++] = {pos, std::max(1, len - (rng.uniform() < 0.3f ? 1 : 0)), off};
        pos += len;
        int step = rng.below(5) - 2;
        off = std::clamp(off + (step == 0 ? 1 : step), -2, 9);
    }
    return m;
}

struct Song {
    const TuneInfo *tune;
    double stepFrames;  // frames per sixteenth
    Chord prog[2][4];
    int bassPattern, kickPattern;
    bool sixteenthHats;
    Motif motif[2];
    std::vector<unsigned> phrases;  // layer mask of each four-bar phrase
};

Song compose(const TuneInfo &t)
{
    Rng rng(t.seed);
    Song s;
    s.tune = &t;
    s.stepFrames = 60.0 / double(t.bpm) / 4.0 * kRate;
    int p0 = rng.below(kProgressionCount);
    int p1 = (p0 + 1 + rng.below(kProgressionCount - 1)) % kProgressionCount;
    for (int i = 0; i < 4; i++) {
        s.prog[0][i] = progressions[p0][i];
        s.prog[1][i] = progressions[p1][i];
    }
    s.bassPattern = rng.below(4);
    s.kickPattern = rng.below(4);
    s.sixteenthHats = rng.uniform() < 0.5f;
    s.motif[0] = makeMotif(rng, t.calm);
    s.motif[1] = makeMotif(rng, t.calm);

    const int count = t.bars / 4;
    if (t.calm) {
        const unsigned plan[] = {
            Pad | Arp,
            Pad | Arp | Bass,
            Pad | Arp | Bass | Kick | Hats | Snare,
            Pad | Arp | Bass | Kick | Hats | Snare | Lead | Chorus,
            Pad | Arp | Bass | Kick | Hats | Snare | LeadAlt | Chorus,
            Pad | Bass | Lead,
            Pad | Arp | Bass | Hats,
        };
        for (int i = 0; i < count; i++)
            s.phrases.push_back(plan[i % 7]);
    } else {
        const unsigned intro = Kick | Hats | Bass | Fill;
        const unsigned verse = Kick | Snare | Hats | Bass | Pad | Fill;
        const unsigned chorus = verse | Arp | Lead | Chorus;
        const unsigned chorus2 = verse | Arp | LeadAlt | Chorus;
        const unsigned breakdown = Pad | Arp | LeadAlt | Hats;
        const unsigned build = Kick | Hats | Bass | Arp | Snare | Fill;
        const unsigned plan[] = {intro, verse, chorus, chorus2, breakdown, build, chorus, chorus2};
        const unsigned extra[] = {verse, chorus, chorus2};
        for (int i = 0; i < count - 1; i++)
            s.phrases.push_back(i < 8 ? plan[i] : extra[(i - 8) % 3]);
        s.phrases.push_back(verse);  // winds down into the intro when it loops
    }
    return s;
}

void render(const Song &s, Bus &bus)
{
    const TuneInfo &t = *s.tune;
    const bool calm = t.calm;
    Rng rng(t.seed ^ 0x9e3779b9u);
    // The loop point sits a moment before the first downbeat rather than on it, so that going
    // round joins two quiet tails instead of cutting into the attack of a drum.
    const double preRoll = 0.03 * kRate;
    auto frameOf = [&](int bar, double step) { return long(std::lround((bar * 16 + step) * s.stepFrames + preRoll)); };
    auto human = [&](float v) { return v * (1.0f + 0.06f * rng.bipolar()); };
    const float stepSec = float(s.stepFrames / kRate);
    const int rootMidi = t.root;

    for (size_t ph = 0; ph < s.phrases.size(); ph++) {
        unsigned layers = s.phrases[ph];
        const Chord *prog = s.prog[(layers & Chorus) ? 1 : 0];
        for (int b = 0; b < 4; b++) {
            int bar = int(ph) * 4 + b;
            const Chord &ch = prog[b];
            bool lastBar = b == 3;

            // Drums.
            for (int st = 0; st < 16; st++) {
                bool fillHere = (layers & Fill) && lastBar && st >= 12;
                if ((layers & Kick) && (calm ? (st == 0 || st == 10) : ((kickPatterns[s.kickPattern] >> st) & 1)) && !fillHere)
                    bus.mix(frameOf(bar, st), kick(rng, human(calm ? 0.55f : 0.75f), calm), 0.0f, 0.0f);
                if ((layers & Snare) || fillHere) {
                    if (fillHere)
                        bus.mix(frameOf(bar, st), snare(rng, human(0.35f + 0.1f * float(st - 12)), false), 0.1f, 0.1f);
                    else if (st == 4 || st == 12)
                        bus.mix(frameOf(bar, st), snare(rng, human(calm ? 0.35f : 0.6f), calm), 0.1f, calm ? 0.3f : 0.1f);
                }
                if (layers & Hats) {
                    bool on = calm ? st % 2 == 0 : (s.sixteenthHats || st % 2 == 0);
                    if (on) {
                        bool open = !calm && st == 14;
                        float v = (st % 4 == 2 ? 0.3f : 0.18f) * (calm ? 0.6f : 1.4f);
                        bus.mix(frameOf(bar, st), hat(rng, human(v), open), 0.35f, 0.05f);
                    }
                }
            }

            // Bass: one pattern step per sixteenth, notes held through '-'.
            if (layers & Bass) {
                const char *pat = calm ? calmBass : bassPatterns[s.bassPattern];
                // The tonic's bass note lies between E1 and D#2, low but still heard on small
                // speakers through its harmonics; the chord roots stay within a ninth above it.
                int bassTonic = rootMidi - 24;
                while (bassTonic < 28)
                    bassTonic += 12;
                int bassRoot = bassTonic + chordTone(ch, 0);
                if (bassRoot > bassTonic + 9)
                    bassRoot -= 12;
                for (int st = 0; st < 16; st++) {
                    char c = pat[st];
                    if (c == '.' || c == '-')
                        continue;
                    int len = 1;
                    while (st + len < 16 && pat[st + len] == '-')
                        len++;
                    int note = bassRoot + (c == 'o' ? 12 : c == 'f' ? 7 : 0);
                    float hold = float(len) * stepSec * 0.9f;
                    bus.mix(frameOf(bar, st), bassNote(float(note), hold, human(calm ? 0.45f : 0.38f), calm), 0.0f, 0.0f);
                }
            }

            // Pad: the chord voiced close around the tonic, one bar long.
            if (layers & Pad) {
                for (int k = 0; k < 4; k++) {
                    int n = rootMidi + chordTone(ch, k);
                    while (n > rootMidi + 12)
                        n -= 12;
                    float pan = (k % 2 ? 0.45f : -0.45f);
                    float hold = 16 * stepSec;
                    bus.mix(frameOf(bar, 0), padNote(float(n), hold, 0.11f, calm), pan, calm ? 0.35f : 0.2f);
                }
            }

            // Arpeggio over the chord, up and down two octaves.
            if (layers & Arp) {
                const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
                int every = calm ? 2 : 1;
                for (int st = 0; st < 16; st += every) {
                    int k = order[(st / every) % 8];
                    int n = rootMidi + 12 + chordTone(ch, k % 4) + (k >= 4 ? 12 : 0);
                    float pan = ((st / every) % 2) ? 0.5f : -0.5f;
                    float v = human(calm ? 0.16f : 0.2f) * (st % 4 == 0 ? 1.0f : 0.75f);
                    bus.mix(frameOf(bar, st), arpNote(float(n), v, calm), pan, calm ? 0.5f : 0.35f);
                }
            }

            // Lead: the motif over bars 1-2, repeated over 3-4 with its last note resolved home.
            if ((layers & (Lead | LeadAlt)) && b % 2 == 0) {
                const Motif &m = s.motif[(layers & LeadAlt) ? 1 : 0];
                for (int i = 0; i < m.count; i++) {
                    const MotifNote &mn = m.notes[i];
                    const Chord &under = prog[b + mn.step / 16];
                    int off = mn.offset;
                    if (b == 2 && i == m.count - 1)
                        off = 0;
                    int deg = under.degree + off + 7;
                    int n = rootMidi + degreeSemis(deg);
                    if (under.raisedThird && ((off % 7) + 7) % 7 == 2)
                        n += 1;
                    float hold = float(mn.length) * stepSec * 0.92f;
                    bus.mix(frameOf(bar, mn.step), leadNote(float(n), hold, human(calm ? 0.2f : 0.38f), calm), 0.1f,
                            calm ? 0.55f : 0.4f);
                }
            }
        }
    }
}

// Soft knee: untouched below `knee`, approaching `ceiling` smoothly above it.
float softLimit(float x, float knee, float ceiling)
{
    float a = std::fabs(x);
    if (a <= knee)
        return x;
    float y = knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee));
    return x < 0 ? -y : y;
}

} // namespace

std::vector<float> synthTune(int index)
{
    const TuneInfo &t = tuneTable[index];
    Song song = compose(t);
    Bus bus(tuneFrames(t));
    render(song, bus);
    // A dotted-eighth echo: three sixteenths.
    applyEcho(bus, long(std::lround(song.stepFrames * 3)), t.calm ? 0.45f : 0.3f, t.calm ? 0.45f : 0.3f);

    // The same loudness for every tune, whatever its arrangement, then a gentle limiter keeps
    // the drum peaks clear of full scale (the encoder adds a little on top).
    std::vector<float> out(size_t(bus.frames) * 2);
    for (long i = 0; i < bus.frames; i++) {
        out[size_t(2 * i)] = bus.l[size_t(i)];
        out[size_t(2 * i + 1)] = bus.r[size_t(i)];
    }
    const float targetRms = 0.15f;
    for (int pass = 0; pass < 2; pass++) {
        float r = rmsOf(out);
        if (r > 0)
            scaleTo(out, targetRms / r);
        for (float &v : out)
            v = softLimit(v, 0.6f, 0.9f);
    }
    return out;
}

bool writeTune(const char *baseDir, int index)
{
    const TuneInfo &t = tuneTable[index];
    std::vector<float> pcm = synthTune(index);
    std::vector<uint8_t> ogg;
    std::string title = std::string("Cobalt Overdrive ") + (t.calm ? "menu" : "race") + " tune " + t.name;
    if (!encodeOggVorbis(pcm.data(), long(pcm.size() / 2), 2, kMusicRate, 0.4f, 0x0c0b0 + index, title.c_str(), ogg))
        return false;
    std::string path = std::string(baseDir) + "/music/" + t.name + ".ogg";
    return Sys_WriteFileAtomic(path.c_str(), ogg.data(), ogg.size());
}
