// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an expression left to right into a syntax tree. Groups are kept on an explicit stack,
// so nothing here recurses; the first error found ends the parse with its code.
#include "text/regex/regex_error.h"
#include "text/regex/regex_syntax.h"

namespace tessaro {

namespace {

using namespace regex_code;

struct Flags {
    bool i, r, s, g, m, x;
};

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
char16_t asciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool isQuantifierChar(char16_t c) { return c == u'*' || c == u'+' || c == u'?' || c == u'{'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool isMeta(char16_t c) {
    switch (c) {
        case u'^':
        case u'$':
        case u'.':
        case u'[':
        case u'(':
        case u')':
        case u'|':
        case u'?':
        case u'+':
        case u'*':
        case u'\\':
        case u'{':
            return true;
        default:
            return false;
    }
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// The character of a control escape letter, or 0 when the letter is not one.
char16_t controlEscape(char16_t c) {
    switch (c) {
        case u't':
            return 0x09;
        case u'n':
            return 0x0A;
        case u'r':
            return 0x0D;
        case u'f':
            return 0x0C;
        case u'a':
            return 0x07;
        case u'e':
            return 0x1B;
        default:
            return 0;
    }
}

// The special Russian ranges of the r flag.
constexpr char16_t kSmallRussian[] =
    u"\u0430\u0431\u0432\u0433\u0434\u0435\u0451\u0436\u0437\u0438\u0439\u043a\u043b\u043c\u043d"
    u"\u043e\u043f\u0440\u0441\u0442\u0443\u0444\u0445\u0446\u0447\u0448\u0449\u044a\u044b\u044c"
    u"\u044d\u044e\u044f";
constexpr char16_t kCapitalRussian[] =
    u"\u0410\u0411\u0412\u0413\u0414\u0415\u0401\u0416\u0417\u0418\u0419\u041a\u041b\u041c\u041d"
    u"\u041e\u041f\u0420\u0421\u0422\u0423\u0424\u0425\u0426\u0427\u0428\u0429\u042a\u042b\u042c"
    u"\u042d\u042e\u042f";

class Parser {
public:
    Parser(std::u16string_view expression, const SyntaxOptions& options, SyntaxTree& tree)
        : m_e(expression),
          m_n(expression.size()),
          m_options(options),
          m_tree(tree),
          m_flags{options.i, options.r, options.s, options.g, options.m, options.x} {}

    int run();

private:
    struct Frame {
        int node;
        Flags saved;
    };

    int newNode(AtomKind kind) {
        SyntaxNode node;
        node.kind = kind;
        switch (kind) {
            case AtomKind::Empty:
            case AtomKind::LineStart:
            case AtomKind::LineEnd:
            case AtomKind::InputStart:
            case AtomKind::InputEnd:
            case AtomKind::WordBoundary:
            case AtomKind::NotWordBoundary:
                node.atomEmpty = true;
                break;
            default:
                break;
        }
        m_tree.nodes.push_back(std::move(node));
        return static_cast<int>(m_tree.nodes.size() - 1);
    }
    int newChar(char16_t c) {
        const int node = newNode(AtomKind::Char);
        if (m_flags.i && isAsciiLetter(c)) {
            m_tree.nodes[node].ch = asciiLower(c);
            m_tree.nodes[node].fold = true;
        } else {
            m_tree.nodes[node].ch = c;
        }
        return node;
    }
    int newSet(CharSet set) {
        set.finish();
        m_tree.sets.push_back(std::move(set));
        const int node = newNode(AtomKind::Set);
        m_tree.nodes[node].set = static_cast<int>(m_tree.sets.size() - 1);
        return node;
    }
    void append(int node) {
        m_tree.nodes[m_frames.back().node].alternatives.back().push_back(node);
    }

    int parseQuantifier(int node);
    int parseEscape(int& node);
    int parseHex(char16_t& value);
    int parseClass(int& node);
    int parseModifiers();
    void skipExtended();

    std::u16string_view m_e;
    std::size_t m_n;
    std::size_t m_p = 0;
    const SyntaxOptions& m_options;
    SyntaxTree& m_tree;
    Flags m_flags;
    std::vector<Frame> m_frames;
};

int Parser::run() {
    m_tree = SyntaxTree{};
    m_tree.root = newNode(AtomKind::Group);
    m_tree.nodes[m_tree.root].alternatives.emplace_back();
    m_frames.push_back({m_tree.root, m_flags});

    while (m_p < m_n) {
        const char16_t c = m_e[m_p];
        int atom = -1;
        if (m_flags.x && (isBlank(c) || c == u'#')) {
            skipExtended();
            atom = newNode(AtomKind::Empty);
        } else {
            switch (c) {
                case u'|':
                    ++m_p;
                    m_tree.nodes[m_frames.back().node].alternatives.emplace_back();
                    continue;
                case u'(':
                    if (m_p + 1 < m_n && m_e[m_p + 1] == u'?') {
                        if (m_p + 2 < m_n && m_e[m_p + 2] == u'#') {
                            const std::size_t close = m_e.find(u')', m_p + 3);
                            if (close == std::u16string_view::npos) return kUnclosedComment;
                            m_p = close + 1;
                        } else if (int error = parseModifiers()) {
                            return error;
                        }
                        atom = newNode(AtomKind::Empty);
                        break;
                    }
                    if (++m_tree.groupCount > kRegexMaxGroups) return kTooManyGroups;
                    atom = newNode(AtomKind::Group);
                    m_tree.nodes[atom].number = m_tree.groupCount;
                    m_tree.nodes[atom].alternatives.emplace_back();
                    m_frames.push_back({atom, m_flags});
                    ++m_p;
                    continue;
                case u')': {
                    if (m_frames.size() == 1) return kUnopenedGroup;
                    ++m_p;
                    atom = m_frames.back().node;
                    m_flags = m_frames.back().saved;
                    m_frames.pop_back();
                    SyntaxNode& group = m_tree.nodes[atom];
                    for (const auto& alternative : group.alternatives) {
                        bool allEmpty = true;
                        for (int piece : alternative) {
                            if (!m_tree.nodes[piece].pieceCanBeEmpty()) {
                                allEmpty = false;
                                break;
                            }
                        }
                        if (allEmpty) {
                            group.atomEmpty = true;
                            break;
                        }
                    }
                    break;
                }
                case u'*':
                case u'+':
                case u'?':
                    return kQuantifierFollowsNothing;
                case u'[':
                    if (int error = parseClass(atom)) return error;
                    break;
                case u'\\':
                    if (int error = parseEscape(atom)) return error;
                    break;
                case u'.':
                    ++m_p;
                    atom = newNode(AtomKind::Any);
                    m_tree.nodes[atom].dotAll = m_flags.s;
                    break;
                case u'^':
                case u'$':
                    ++m_p;
                    atom = newNode(c == u'^' ? AtomKind::LineStart : AtomKind::LineEnd);
                    m_tree.nodes[atom].multiLine = m_flags.m;
                    break;
                case u'{':
                    // Where an atom begins, "{" is the character itself.
                    ++m_p;
                    atom = newChar(u'{');
                    break;
                default: {
                    std::size_t end = m_p;
                    while (end < m_n && !isMeta(m_e[end]) && !(m_flags.x && m_e[end] == u'#'))
                        ++end;
                    // A quantifier after a run takes only its last character.
                    if (end - m_p > 1 && end < m_n && isQuantifierChar(m_e[end])) --end;
                    for (std::size_t k = m_p; k < end; ++k) {
                        if (m_flags.x && isBlank(m_e[k])) continue;
                        if (atom >= 0) append(atom);
                        atom = newChar(m_e[k]);
                    }
                    m_p = end;
                    break;
                }
            }
        }
        append(atom);
        if (int error = parseQuantifier(atom)) return error;
    }
    if (m_frames.size() > 1) return kUnclosedGroup;
    return 0;
}

void Parser::skipExtended() {
    while (m_p < m_n) {
        const char16_t c = m_e[m_p];
        if (isBlank(c)) {
            ++m_p;
        } else if (c == u'#') {
            while (m_p < m_n && m_e[m_p] != u'\r' && m_e[m_p] != u'\n') ++m_p;
            while (m_p < m_n && (m_e[m_p] == u'\r' || m_e[m_p] == u'\n')) ++m_p;
        } else {
            break;
        }
    }
}

int Parser::parseModifiers() {
    std::size_t q = m_p + 2;  // after "(?"
    bool on = true;
    Flags flags = m_flags;
    while (true) {
        if (q >= m_n) return kUnrecognizedModifier;
        const char16_t c = m_e[q++];
        if (c == u')') break;
        if (c == u'-') {
            on = false;
            continue;
        }
        switch (asciiLower(c)) {
            case u'i':
                flags.i = on;
                break;
            case u'r':
                flags.r = on;
                break;
            case u's':
                flags.s = on;
                break;
            case u'g':
                flags.g = on;
                break;
            case u'm':
                flags.m = on;
                break;
            case u'x':
                flags.x = on;
                break;
            default:
                return kUnrecognizedModifier;
        }
    }
    m_flags = flags;
    m_p = q;
    return 0;
}

int Parser::parseQuantifier(int node) {
    if (m_p >= m_n) return 0;
    const char16_t c = m_e[m_p];
    int min = 0;
    int max = 0;
    bool braces = false;
    if (c == u'*' || c == u'+') {
        if (m_tree.nodes[node].atomEmpty) return kOperandCouldBeEmpty;
        min = c == u'+' ? 1 : 0;
        max = kRegexInfinite;
        ++m_p;
    } else if (c == u'?') {
        min = 0;
        max = 1;
        ++m_p;
    } else if (c == u'{') {
        if (m_tree.nodes[node].atomEmpty) return kOperandCouldBeEmpty;
        std::size_t q = m_p + 1;
        const std::size_t firstStart = q;
        while (q < m_n && isDigit(m_e[q])) ++q;
        const std::size_t firstDigits = q - firstStart;
        if (firstDigits == 0 || q >= m_n) return 0;
        std::size_t secondStart = 0;
        std::size_t secondDigits = 0;
        bool hasComma = false;
        if (m_e[q] == u',') {
            hasComma = true;
            secondStart = ++q;
            while (q < m_n && isDigit(m_e[q])) ++q;
            secondDigits = q - secondStart;
            if (q >= m_n) return 0;
        }
        if (m_e[q] != u'}') return 0;  // not a quantifier: "{" is read as a character next
        if (firstDigits > 8 || secondDigits > 8) return kBracesTooBig;
        auto number = [&](std::size_t from, std::size_t count) {
            int value = 0;
            for (std::size_t k = 0; k < count; ++k) value = value * 10 + (m_e[from + k] - u'0');
            return value;
        };
        min = number(firstStart, firstDigits);
        if (!hasComma) {
            max = min;
        } else if (secondDigits == 0) {
            max = kRegexInfinite;
        } else {
            max = number(secondStart, secondDigits);
            if (min > max) return kBracesMinGreaterMax;
        }
        braces = true;
        m_p = q + 1;
    } else {
        return 0;
    }
    bool greedy = m_flags.g;
    if (m_p < m_n && m_e[m_p] == u'?') {
        greedy = false;
        ++m_p;
    }
    if (m_p < m_n && isQuantifierChar(m_e[m_p])) return kNestedQuantifier;
    SyntaxNode& target = m_tree.nodes[node];
    target.quantified = true;
    target.min = min;
    target.max = max;
    target.greedy = greedy;
    target.braces = braces;
    return 0;
}

int Parser::parseHex(char16_t& value) {
    // m_p stands after "\x".
    unsigned total = 0;
    if (m_p >= m_n) return kNoHexCode;
    if (m_e[m_p] == u'{') {
        ++m_p;
        int significant = 0;
        while (true) {
            if (m_p >= m_n) return kNoHexCode;
            const char16_t c = m_e[m_p];
            if (c == u'}') {
                ++m_p;
                break;
            }
            const int digit = hexValue(c);
            if (digit < 0) return kBadHexDigit;
            if (significant > 0 || digit != 0) {
                if (++significant > 4) return kHexCodeTooBig;
            }
            total = total * 16 + unsigned(digit);
            ++m_p;
        }
    } else {
        for (int k = 0; k < 2; ++k) {
            if (m_p >= m_n) return kNoHexCode;
            const int digit = hexValue(m_e[m_p]);
            if (digit < 0) return kBadHexDigit;
            total = total * 16 + unsigned(digit);
            ++m_p;
        }
    }
    value = static_cast<char16_t>(total);
    return 0;
}

int Parser::parseEscape(int& node) {
    if (m_p + 1 >= m_n) return kTrailingBackslash;
    const char16_t c = m_e[m_p + 1];
    m_p += 2;
    CharSet set;
    switch (c) {
        case u'd':
        case u'D':
            set.addRange(u'0', u'9');
            if (c == u'D') set.invert();
            node = newSet(std::move(set));
            return 0;
        case u'w':
        case u'W':
            set.addAll(m_options.wordSet);
            if (c == u'W') set.invert();
            node = newSet(std::move(set));
            return 0;
        case u's':
        case u'S':
            set.addAll(m_options.spaceSet);
            if (c == u'S') set.invert();
            node = newSet(std::move(set));
            return 0;
        case u'b':
            node = newNode(AtomKind::WordBoundary);
            return 0;
        case u'B':
            node = newNode(AtomKind::NotWordBoundary);
            return 0;
        case u'A':
            node = newNode(AtomKind::InputStart);
            return 0;
        case u'Z':
            node = newNode(AtomKind::InputEnd);
            return 0;
        case u'x': {
            char16_t value = 0;
            if (int error = parseHex(value)) return error;
            node = newChar(value);
            return 0;
        }
        default:
            break;
    }
    if (c >= u'1' && c <= u'9') {
        node = newNode(AtomKind::Backref);
        m_tree.nodes[node].number = c - u'0';
        m_tree.nodes[node].fold = m_flags.i;
        m_tree.hasBackref = true;
        return 0;
    }
    const char16_t control = controlEscape(c);
    node = newChar(control ? control : c);
    return 0;
}

int Parser::parseClass(int& node) {
    ++m_p;  // "["
    bool negate = false;
    if (m_p < m_n && m_e[m_p] == u'^') {
        negate = true;
        ++m_p;
    }
    CharSet set;
    bool first = true;
    // Reads one single member at m_p: a character or a character escape. Returns false with
    // kind set when the member is a class escape (\d, \w, \s), which it adds itself.
    auto readMember = [&](char16_t& ch, bool& isClassEscape) -> int {
        isClassEscape = false;
        if (m_e[m_p] != u'\\') {
            ch = m_e[m_p++];
            return 0;
        }
        if (m_p + 1 >= m_n) return kTrailingBackslashInClass;
        const char16_t c = m_e[m_p + 1];
        m_p += 2;
        switch (c) {
            case u'd':
                set.addRange(u'0', u'9');
                isClassEscape = true;
                return 0;
            case u'w':
                set.addAll(m_options.wordSet);
                isClassEscape = true;
                return 0;
            case u's':
                set.addAll(m_options.spaceSet);
                isClassEscape = true;
                return 0;
            case u'x':
                return parseHex(ch);
            default: {
                const char16_t control = controlEscape(c);
                ch = control ? control : c;
                return 0;
            }
        }
    };
    while (true) {
        if (m_p >= m_n) return kUnmatchedBracket;
        if (m_e[m_p] == u']' && !first) {
            ++m_p;
            break;
        }
        first = false;
        char16_t low = 0;
        bool isClassEscape = false;
        if (int error = readMember(low, isClassEscape)) return error;
        if (isClassEscape) continue;
        const bool rangeDash = m_p + 1 < m_n && m_e[m_p] == u'-' && m_e[m_p + 1] != u']';
        if (!rangeDash) {
            set.add(low);
            continue;
        }
        if (m_e[m_p + 1] == u'\\') {
            if (m_p + 2 >= m_n) return kTrailingBackslashInClass;
            const char16_t e = m_e[m_p + 2];
            if (e == u'd' || e == u'w' || e == u's' || e == u'D' || e == u'W' || e == u'S') {
                // The dash is a member; the escape is read next as a class member.
                set.add(low);
                set.add(u'-');
                ++m_p;
                continue;
            }
        }
        ++m_p;  // "-"
        char16_t high = 0;
        if (int error = readMember(high, isClassEscape)) return error;
        if (m_flags.r && low == 0x0430 && high == 0x044F) {
            set.addAll(kSmallRussian);
        } else if (m_flags.r && low == 0x0410 && high == 0x042F) {
            set.addAll(kCapitalRussian);
        } else if (m_flags.r && low == 0x0430 && high == 0x042F) {
            set.addAll(kSmallRussian);
            set.addAll(kCapitalRussian);
        } else if (high < low) {
            return kInvalidRange;
        } else {
            set.addRange(low, high);
        }
    }
    if (m_flags.i) set.foldAsciiCase();
    if (negate) set.invert();
    node = newSet(std::move(set));
    return 0;
}

}  // namespace

int ParseRegex(std::u16string_view expression, const SyntaxOptions& options, SyntaxTree& tree) {
    Parser parser(expression, options, tree);
    return parser.run();
}

}  // namespace tessaro
