// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the regular-expression engine against PCRE2-16, both its interpreter and its
// JIT, in one process on the same texts. Every engine walks all matches of a pattern the way
// replace-all does (next search from the end of the last match, one further after an empty
// one). The rounds are interleaved - ours, interpreter, JIT, rotating the order each round -
// and each engine's median wall time is printed, so that a busy machine slows all three alike.
//
// Reading the table: "interp/ours" and "jit/ours" are PCRE2's time divided by ours, so a
// ratio above 1 means our engine is faster, below 1 that it is slower. The match counts of the
// three engines must agree; otherwise the row says COUNTS DIFFER and the program exits with 1.
//
// PCRE2 runs without UTF (code units, like us) and gets each pattern in its own dialect: our
// \w and \s are explicit classes built from the engine's default sets, our \b becomes
// look-arounds on the word class, "." matches line breaks (DOTALL), "$" is the very end
// (DOLLAR_ENDONLY) and line breaks are NEWLINE_ANY (CR, LF, CR LF, VT, FF, U+0085, U+2028,
// U+2029, as ours). PCRE2's (?i) without UTF or UCP folds ASCII only, as ours does.
//
// The "limits" section runs our engine alone, with its default limits, on inputs that make a
// backtracking engine explode, and prints CPU seconds and how each search ended.
//
// Usage: bench_regex_engine [--rounds=N] (N >= 1, default 9).
#define PCRE2_CODE_UNIT_WIDTH 16
#include "text/regex_engine.h"

#include <pcre2.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "text/regex/regex_error.h"

namespace {

using namespace tessaro;

// The deterministic generator of every text here (a 64-bit LCG, high bits).
struct Lcg {
    std::uint64_t state;
    std::uint32_t operator()(std::uint32_t bound) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33) % bound;
    }
};

using Words = std::vector<std::u16string_view>;

// The words of a space-separated list (of a string literal, which outlives the views).
Words split(std::u16string_view list) {
    Words words;
    for (std::size_t end; (end = list.find(u' ')) != list.npos; list.remove_prefix(end + 1))
        words.push_back(list.substr(0, end));
    words.push_back(list);
    return words;
}

std::u16string_view pick(const Words& words, Lcg& next) {
    return words[next(static_cast<std::uint32_t>(words.size()))];
}

// A German/English text with CR LF line ends: common words (umlauts, ß, capitals), numbered
// lines ("  12. "), doubled words, the name the literal patterns look for about once in 700
// words and, rarer, the other names and the foo/bar words the alternations look for.
std::u16string makeMixedText(std::size_t size) {
    // Near misses of the rare words ("form", "bank", "Watt"...) keep the alternations honest.
    const Words common = split(
        u"der die das und ist nicht mit ein eine sich auf dem von zu auch noch nach bei aus wie "
        u"für über groß Straße schön Mädchen Größe Bücher Äpfel Öl Übung möchte würde heißt weiß "
        u"hören zurück Tür Käse während Füße Grüße müssen Häuser Brücke ähnlich Zeit öffnen Abend "
        u"Fenster Bäckerei the of and to in a is that for it as was with be by on not he I this "
        u"are or his from at which but have had they you were their one all we can there been "
        u"when would street evening window remarked singular form bank Watt Holm Sher Lond quiet");
    const Words sherlock = split(u"Sherlock sherlock SHERLOCK");
    const Words names = split(u"Watson Holmes London Baker");
    const Words fooBar = split(u"foo bar baz quux corge");
    Lcg next{42};
    std::u16string text;
    text.reserve(size + 64);
    int column = 0;
    bool sentenceStart = true;
    while (text.size() < size) {
        if (column == 0 && next(4) == 0) {
            text += u"  ";
            for (std::uint32_t d = 1 + next(4); d > 0; --d) text.push_back(u'0' + next(10));
            text += u". ";
        }
        const std::uint32_t roll = next(2800);
        const std::u16string_view word = roll < 4    ? pick(sherlock, next)
                                         : roll < 16 ? pick(names, next)
                                         : roll < 18 ? pick(fooBar, next)
                                                     : pick(common, next);
        const std::size_t wordStart = text.size();
        text += word;
        if (sentenceStart) {  // capitals after a full stop: a-z and the three umlauts
            char16_t& first = text[wordStart];
            if ((first >= u'a' && first <= u'z') || first == u'ä' || first == u'ö' || first == u'ü')
                first = static_cast<char16_t>(first - 0x20);
        }
        if (next(50) == 0) (text += u' ') += word;  // "the the", "der der"
        const std::uint32_t punctuation = next(20);
        sentenceStart = punctuation == 0;
        if (punctuation == 0)
            text += u'.';
        else if (punctuation == 1)
            text += u',';
        if (++column > 10 + static_cast<int>(next(6))) {
            text += u"\r\n";
            column = 0;
        } else {
            text += u' ';
        }
    }
    text.resize(size);
    return text;
}

// "ab" 20,000 times and a final "c": the patterns must really walk the repetition.
std::u16string makeAbab() {
    std::u16string text;
    for (int k = 0; k < 20'000; ++k) text += u"ab";
    return text + u"c";
}

// Our pattern written in PCRE2's dialect: "{w}" and "{s}" stand for the bodies of classes
// equal to our default word and space sets.
std::u16string toPcreDialect(std::u16string pattern) {
    const RegexOptions defaults;
    for (const auto& [token, set] :
         {std::pair(u"{w}", defaults.WordSet), std::pair(u"{s}", defaults.SpaceSet)})
        for (std::size_t at; (at = pattern.find(token)) != pattern.npos;)
            pattern.replace(at, 3, set);
    return pattern;
}

struct Pattern {
    const char16_t* ours;
    const char16_t* pcre;  // before toPcreDialect; null when it is the same as ours
    bool onAbab;           // the "ab...c" text instead of the mixed one
};

const Pattern kPatterns[] = {
    {u"Sherlock", nullptr, false},
    {u"(?i)sherlock", nullptr, false},
    {u"[a-z]+", nullptr, false},
    {u"\\b\\w+\\b", u"(?<![{w}])[{w}]+(?![{w}])", false},
    {u"(Sherlock|Watson|Holmes|London|Baker)", nullptr, false},
    {u"(foo|bar|baz|quux|corge)", nullptr, false},
    {u"(?m)^\\s*\\d+", u"(?m)^[{s}]*\\d+", false},
    {u"(\\w+)\\s+\\1", u"([{w}]+)[{s}]+\\1", false},
    {u"(a|b)*c", nullptr, true},
    {u"(a|b)*[cd]", nullptr, true},
};

// Our messages are English and ASCII; anything else prints as "?".
std::string narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// A walk's result: the number of matches, or an error that ended it early.
struct Walk {
    long matches = 0;
    std::string error;  // empty when the walk ran to the end of the text
};

class OursRunner {
public:
    OursRunner(const std::u16string& expression, std::shared_ptr<const std::u16string> text)
        : m_engine(m_options, m_error, {}), m_text(std::move(text)) {
        m_engine.setExpression(expression);
    }
    Walk walk() {
        Walk result;
        for (bool ok = m_engine.MatchFirst(m_text); ok; ok = m_engine.MatchNext()) ++result.matches;
        if (m_engine.searchAborted() || m_engine.lastErrorCode() != 0)
            result.error = narrow(RegexErrorMessage(m_engine.lastErrorCode(), true));
        return result;
    }

private:
    RegexOptions m_options;
    RegExErrorState m_error;
    TRegexEngine m_engine;
    std::shared_ptr<const std::u16string> m_text;
};

class PcreRunner {
public:
    PcreRunner(const std::u16string& expression, const std::u16string& text) : m_text(text) {
        pcre2_compile_context* compile = pcre2_compile_context_create(nullptr);
        pcre2_set_newline(compile, PCRE2_NEWLINE_ANY);
        int code = 0;
        PCRE2_SIZE offset = 0;
        m_code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(),
                               PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &code, &offset, compile);
        pcre2_compile_context_free(compile);
        if (!m_code) {
            m_compileError = "PCRE2 compile error " + std::to_string(code);
            return;
        }
        m_jitOk = pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE) == 0;
        m_data = pcre2_match_data_create_from_pattern(m_code, nullptr);
        // The JIT's default 32 KB stack cannot hold 40,000 nested repetitions; give it as
        // much as our engine's backtracking stack.
        m_jitStack = pcre2_jit_stack_create(32 * 1024, 64 * 1024 * 1024, nullptr);
        m_context = pcre2_match_context_create(nullptr);
        pcre2_jit_stack_assign(m_context, nullptr, m_jitStack);
    }
    ~PcreRunner() {
        pcre2_match_context_free(m_context);
        pcre2_jit_stack_free(m_jitStack);
        pcre2_match_data_free(m_data);
        pcre2_code_free(m_code);
    }
    PcreRunner(const PcreRunner&) = delete;
    PcreRunner& operator=(const PcreRunner&) = delete;

    Walk walk(bool jit) {
        Walk result;
        if (!m_code || (jit && !m_jitOk)) {
            result.error = m_code ? "no JIT" : m_compileError;
            return result;
        }
        const auto subject = reinterpret_cast<PCRE2_SPTR>(m_text.data());
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(m_data);
        PCRE2_SIZE start = 0;
        while (start <= m_text.size()) {
            const int rc =
                jit ? pcre2_jit_match(m_code, subject, m_text.size(), start, 0, m_data, m_context)
                    : pcre2_match(m_code, subject, m_text.size(), start, PCRE2_NO_JIT, m_data,
                                  m_context);
            if (rc < 0) {
                if (rc != PCRE2_ERROR_NOMATCH) result.error = "PCRE2 error " + std::to_string(rc);
                break;
            }
            ++result.matches;
            start = vector[1] + (vector[1] == vector[0] ? 1 : 0);
        }
        return result;
    }

private:
    const std::u16string& m_text;
    std::string m_compileError;
    pcre2_code* m_code = nullptr;
    bool m_jitOk = false;
    pcre2_match_data* m_data = nullptr;
    pcre2_jit_stack* m_jitStack = nullptr;
    pcre2_match_context* m_context = nullptr;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string countText(const Walk& walk) {
    return walk.error.empty() ? std::to_string(walk.matches) : walk.error;
}

// Times one pattern on all three engines; returns false when their counts disagree.
bool runPattern(const Pattern& pattern, const std::shared_ptr<const std::u16string>& text,
                int rounds) {
    OursRunner ours(pattern.ours, text);
    PcreRunner pcre(toPcreDialect(pattern.pcre ? pattern.pcre : pattern.ours), *text);
    // One untimed walk each: compiles ours lazily, warms the caches and gives the counts.
    const Walk reference[3] = {ours.walk(), pcre.walk(false), pcre.walk(true)};
    bool agree = true;
    for (const Walk& walk : reference)
        agree = agree && walk.error.empty() && walk.matches == reference[0].matches;
    std::vector<double> ms[3];
    for (int round = 0; round < rounds; ++round) {
        for (int k = 0; k < 3; ++k) {
            const int engine = (round + k) % 3;
            const auto begin = std::chrono::steady_clock::now();
            const Walk walk = engine == 0 ? ours.walk() : pcre.walk(engine == 2);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - begin;
            ms[engine].push_back(took.count());
            agree = agree && walk.matches == reference[engine].matches && walk.error.empty();
        }
    }
    const double oursMs = median(ms[0]), interpMs = median(ms[1]), jitMs = median(ms[2]);
    std::printf("%-38s %10.3f %10.3f %10.3f %12.2f %9.2f %10s\n", narrow(pattern.ours).c_str(),
                oursMs, interpMs, jitMs, interpMs / oursMs, jitMs / oursMs,
                countText(reference[0]).c_str());
    if (!agree)
        std::printf("    COUNTS DIFFER: ours %s, interpreter %s, JIT %s\n",
                    countText(reference[0]).c_str(), countText(reference[1]).c_str(),
                    countText(reference[2]).c_str());
    std::fflush(stdout);
    return agree;
}

// CPU seconds of the process so far and its peak resident set in KiB.
std::pair<double, long> usage() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

// Runs one search (walk = false) or a replace-all walk with our engine and default limits.
void runLimit(const char* name, const std::u16string& pattern, std::u16string text, bool walk,
              const char* expected = "") {
    const auto shared = std::make_shared<const std::u16string>(std::move(text));
    const auto [cpuBefore, rssBefore] = usage();
    RegexOptions options;
    RegExErrorState error;
    TRegexEngine engine(options, error, {});
    engine.setExpression(pattern);
    long matches = 0;
    for (bool ok = engine.MatchFirst(shared); ok; ok = walk && engine.MatchNext()) ++matches;
    const auto [cpuAfter, rssAfter] = usage();
    const double cpu = cpuAfter - cpuBefore;
    const double rssGrowthMb = static_cast<double>(rssAfter - rssBefore) / 1024.0;
    std::string outcome = walk ? "completed" : matches ? "found" : "not found";
    if (engine.searchAborted())
        outcome = "aborted: " + narrow(RegexErrorMessage(engine.lastErrorCode(), true));
    else if (engine.lastErrorCode() != 0)
        outcome = "error: " + narrow(RegexErrorMessage(engine.lastErrorCode(), true));
    const double steps = static_cast<double>(engine.walkSteps());
    std::printf("%-44s %8.2f %9ld %10.1f %9.1f %8.2f  %s%s\n", name, cpu, matches, rssGrowthMb,
                steps / 1e6, steps > 0 ? cpu * 1e9 / steps : 0.0, outcome.c_str(), expected);
    std::fflush(stdout);
}

// The alternation of 100,000 distinct words "w" + four letters, searched in 1 M code units
// of words, about one in nine of which is in the list. Counting the list words of the text
// independently checks the match count (the other words contain no "w").
void runBigAlternation() {
    constexpr std::uint32_t kSpace = 26 * 26 * 26 * 26;
    auto word = [](std::uint32_t value) {
        std::u16string w = u"w";
        for (int k = 0; k < 4; ++k, value /= 26) w += static_cast<char16_t>(u'a' + value % 26);
        return w;
    };
    std::unordered_set<std::u16string> listed;
    std::u16string pattern;
    for (std::uint32_t k = 0; k < 100'000; ++k) {
        // A stride coprime to 26^4 spreads the words over the whole space, all distinct.
        const std::u16string w = word(static_cast<std::uint32_t>((k * 7919ull) % kSpace));
        listed.insert(w);
        if (k) pattern += u'|';
        pattern += w;
    }
    const Words others = split(u"text clip board daten über Größe copy paste");
    Lcg next{7};
    std::u16string text;
    long expected = 0;
    while (text.size() < 1'000'000) {
        if (next(2) == 0) {
            const std::u16string w = word(next(kSpace));
            expected += listed.count(w) ? 1 : 0;
            text += w;
        } else {
            text += pick(others, next);
        }
        text += u' ';
    }
    const std::string note = "  (list words in the text: " + std::to_string(expected) + ")";
    runLimit("100,000-word alternation, 1 M units (walk)", pattern, std::move(text), true,
             note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 9;
    for (int k = 1; k < argc; ++k) {
        if (std::strncmp(argv[k], "--rounds=", 9) == 0 && std::atoi(argv[k] + 9) >= 1) {
            rounds = std::atoi(argv[k] + 9);
        } else {
            std::fprintf(stderr, "usage: %s [--rounds=N]\n", argv[0]);
            return 2;
        }
    }
    PCRE2_UCHAR versionUnits[64] = {};  // the 16-bit library answers in 16-bit units
    pcre2_config(PCRE2_CONFIG_VERSION, versionUnits);
    const std::string version(versionUnits, std::find(versionUnits, versionUnits + 63, 0));

    // First, while the process is small, so that the growth of its peak RSS is telling.
    std::printf("limits (our engine, default limits; CPU seconds, not asserted)\n");
    std::printf("%-44s %8s %9s %10s %9s %8s  %s\n", "case", "CPU s", "matches", "peak RSS+",
                "M steps", "ns/step", "outcome");
    runBigAlternation();
    runLimit("(a+)+b on 80,000 'a' + \"cb\"", u"(a+)+b", std::u16string(80'000, u'a') + u"cb",
             false);
    runLimit("([a-z0-9]+[.-]?)+@ on 60,000 'a' + \"!@\"", u"([a-z0-9]+[.-]?)+@",
             std::u16string(60'000, u'a') + u"!@", false);
    runLimit("(a+)+b on 40,000 'a'", u"(a+)+b", std::u16string(40'000, u'a'), false);
    runLimit(".*x|y over 100,000 'y' (walk)", u".*x|y", std::u16string(100'000, u'y'), true);
    // Searches that use the whole step budget: the slowest kinds of step, which the budget
    // has to hold to about a second.
    runLimit("(x|a|aa)*b\\1 on 80 'a' + \"cb\"", u"(x|a|aa)*b\\1",
             std::u16string(80, u'a') + u"cb", false);
    runLimit("(\\w+\\s?)*\\1x! on 30 words + \"!\"", u"(\\w+\\s?)*\\1x!",
             std::u16string(u"word word word word word word word word word word word word "
                            u"word word word word word word word word word word word word !"),
             false);
    runLimit("[a-z]+(er|en)? walk over the mixed text (DFA)", u"[a-z]+(er|en)?",
             makeMixedText(10'000'000), true);
    std::printf("(peak RSS+ is the growth of the process's peak resident set, in MB; ns/step is\n"
                " CPU time per budget step)\n\n");

    const auto mixed = std::make_shared<const std::u16string>(makeMixedText(10'000'000));
    const auto abab = std::make_shared<const std::u16string>(makeAbab());
    std::printf(
        "PCRE2 %s, %d interleaved rounds, median wall time; mixed text %zu code units,"
        " ab...c text %zu\n",
        version.c_str(), rounds, mixed->size(), abab->size());
    std::printf("ratios are PCRE2's time / ours: above 1 means ours is faster\n");
    std::printf("%-38s %10s %10s %10s %12s %9s %10s\n", "pattern", "ours ms", "interp ms", "JIT ms",
                "interp/ours", "jit/ours", "matches");
    bool allAgree = true;
    for (const Pattern& pattern : kPatterns)
        allAgree = runPattern(pattern, pattern.onAbab ? abab : mixed, rounds) && allAgree;
    if (!allAgree) std::printf("\nCOUNTS DIFFER for at least one pattern (see above)\n");
    return allAgree ? 0 : 1;
}
