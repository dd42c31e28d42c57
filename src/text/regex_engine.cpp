// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's life cycle: expression in, compile once, searches with their error reports,
// slot queries and template expansion.
#include "text/regex_engine.h"

#include "text/regex/regex_syntax.h"
#include "text/regex/regex_template.h"

namespace tessaro {

using namespace regex_code;

namespace {

// The DFA's jump over positions where no match can begin: the program's first characters.
std::size_t nextCandidate(const void* context, const char16_t* text, std::size_t n,
                          std::size_t pos) {
    return static_cast<const RegexProgram*>(context)->nextStart(text, n, pos);
}

bool dfaSuits(const RegexProgram& p) {
    if (p.hasBackref || p.linear || p.literalOnly || p.startLiterals) return false;
    for (const Inst& inst : p.code) {
        if (inst.op == Op::DepthFail) return false;
    }
    return true;
}

}  // namespace

SyntaxOptions SyntaxOptionsOf(const RegexOptions& options) {
    SyntaxOptions syntax;
    syntax.i = options.i;
    syntax.r = options.r;
    syntax.s = options.s;
    syntax.g = options.g;
    syntax.m = options.m;
    syntax.x = false;
    syntax.wordSet = options.WordSet;
    syntax.spaceSet = options.SpaceSet;
    return syntax;
}

MatchContext MatchContextOf(const RegexOptions& options) {
    MatchContext context;
    context.wordSet.addAll(options.WordSet);
    context.wordSet.finish();
    context.lineSeparators.addAll(options.LineSeparatorSet);
    context.lineSeparators.finish();
    const std::u16string& pair = options.LinePairedSeparator;
    if (pair.size() == 2) {
        context.hasPair = true;
        context.pairFirst = pair[0];
        context.pairSecond = pair[1];
    }
    return context;
}

TRegexEngine::TRegexEngine(const RegexOptions& options, RegExErrorState& errorState,
                           LanguageCode language)
    : m_options(options), m_errorState(errorState), m_language(std::move(language)) {
    m_options.x = false;
    m_slots.fill(-1);
}

TRegexEngine::~TRegexEngine() = default;

void TRegexEngine::setExpression(std::u16string_view expression) {
    m_expression = std::u16string(expression);
    m_compileTried = false;
    m_matcher.reset();
    m_program.reset();
}

void TRegexEngine::setLimits(const MatchLimits& limits) {
    m_limits = limits;
    m_matcher.reset();
}

void TRegexEngine::Error(int code) {
    m_lastError = code;
    m_errorState.noError = false;
    m_errorState.message = ErrorMsg(code);
}

std::u16string TRegexEngine::ErrorMsg(int code) const {
    const bool english = m_language && m_language() == u"en";
    return RegexErrorMessage(code, english);
}

bool TRegexEngine::compile() {
    if (m_compileTried) return m_program != nullptr;
    m_compileTried = true;
    const std::u16string& pair = m_options.LinePairedSeparator;
    if (!(pair.empty() || (pair.size() == 2 && pair[0] != pair[1]))) {
        Error(kBadPairedSeparator);
        return false;
    }
    SyntaxTree tree;
    if (const int error = ParseRegex(m_expression, SyntaxOptionsOf(m_options), tree)) {
        Error(error);
        return false;
    }
    m_context = MatchContextOf(m_options);
    m_program = std::make_unique<RegexProgram>(CompileRegex(tree, &m_context.wordSet));
    if (dfaSuits(*m_program)) {
        m_dfa = RegexDfa::create(tree, m_context);
        if (m_dfa && !m_program->canBeEmpty && m_program->firstCount < 65536)
            m_dfa->setAccelerator(nextCandidate, m_program.get());
    }
    return true;
}

bool TRegexEngine::searchByDfa(std::size_t start, bool& found) {
    // A state built costs about as much as reading a unit of text; a call about as much as
    // reading sixteen.
    auto charge = [this] {
        const DfaWork& work = m_dfa->work();
        m_walkSteps += work.units + work.nfaSteps + 16;
        m_dfaUnits += work.units;
    };
    const std::u16string_view text = *m_input;
    std::size_t end = 0;
    std::size_t begin = 0;
    DfaOutcome outcome = m_dfa->findEnd(text, start, end);
    charge();
    if (outcome == DfaOutcome::Found) {
        outcome = m_dfa->findStart(text, start, end, begin);
        charge();
    }
    if (outcome == DfaOutcome::GaveUp) {
        m_dfa.reset();  // states cost more than they save on this expression
        return false;
    }
    found = outcome == DfaOutcome::Found;
    if (!found) return true;
    m_slots.fill(-1);
    m_slots[0] = static_cast<std::int32_t>(begin);
    m_slots[1] = static_cast<std::int32_t>(end);
    if (!m_program->hasGroups) return true;
    // The groups: one backtracking attempt at the known start, which ends at the known end.
    const std::uint64_t left =
        m_walkSteps < m_limits.stepBudget ? m_limits.stepBudget - m_walkSteps : 0;
    CaptureSlots slots{};
    const SearchOutcome captured = m_matcher->searchAt(text, begin, slots, left);
    m_walkSteps += m_matcher->steps();
    if (captured == SearchOutcome::Found && slots[1] == m_slots[1]) {
        m_slots = slots;
    } else if (captured == SearchOutcome::Found || captured == SearchOutcome::NotFound) {
        found = false;  // the two engines disagree: trust the backtracker's full search
        return false;
    } else {
        m_aborted = true;
        Error(captured == SearchOutcome::StepBudgetExceeded ? kStepBudgetExceeded
                                                            : kBacktrackMemoryExceeded);
        found = false;
    }
    return true;
}

bool TRegexEngine::search(std::size_t start) {
    m_hasMatch = false;
    m_aborted = false;
    if (!m_matcher) m_matcher = std::make_unique<RegexMatcher>(*m_program, m_context, m_limits);
    if (m_dfa && m_limits.dfa && m_dfaUnits <= 8 * (m_input->size() + 1)) {
        bool matched = false;
        if (searchByDfa(start, matched)) {
            if (m_aborted) {
                m_slots.fill(-1);
                return false;
            }
            if (m_walkSteps > m_limits.stepBudget) return found(SearchOutcome::StepBudgetExceeded);
            return found(matched ? SearchOutcome::Found : SearchOutcome::NotFound);
        }
    }
    // One budget for the whole walk: many cheap searches add up like one expensive one.
    const std::uint64_t left =
        m_walkSteps < m_limits.stepBudget ? m_limits.stepBudget - m_walkSteps : 0;
    const SearchOutcome outcome = m_matcher->search(*m_input, start, m_slots, left);
    m_walkSteps += m_matcher->steps();
    if (m_matcher->loopDepthExceeded()) Error(kLoopStackExceeded);
    return found(outcome);
}

bool TRegexEngine::found(SearchOutcome outcome) {
    switch (outcome) {
        case SearchOutcome::Found:
            m_hasMatch = true;
            return true;
        case SearchOutcome::NotFound:
            break;
        case SearchOutcome::StepBudgetExceeded:
            m_aborted = true;
            Error(kStepBudgetExceeded);
            break;
        case SearchOutcome::MemoryExceeded:
            m_aborted = true;
            Error(kBacktrackMemoryExceeded);
            break;
    }
    m_slots.fill(-1);
    return false;
}

bool TRegexEngine::MatchFirst(std::u16string_view input) {
    return MatchFirst(std::make_shared<const std::u16string>(input));
}

bool TRegexEngine::MatchFirst(std::shared_ptr<const std::u16string> input) {
    m_input = input ? std::move(input) : std::make_shared<const std::u16string>();
    m_walkSteps = 0;
    m_dfaUnits = 0;
    m_slots.fill(-1);
    m_hasMatch = false;
    m_aborted = false;
    if (m_expression.empty()) {
        Error(kNoExpression);
        return false;
    }
    if (!compile()) return false;
    return search(0);
}

bool TRegexEngine::MatchNext() {
    if (!m_hasMatch || !m_input || !m_program) {
        Error(kNoFirstMatch);
        return false;
    }
    std::size_t start = static_cast<std::size_t>(m_slots[1]);
    if (m_slots[1] == m_slots[0]) ++start;
    if (start > m_input->size()) {
        m_hasMatch = false;
        m_slots.fill(-1);
        return false;
    }
    return search(start);
}

int TRegexEngine::MatchStart(int n) const {
    if (n < 0 || n > kRegexMaxGroups || !m_input) return -1;
    const std::int32_t from = m_slots[2 * n];
    if (from < 0 || m_slots[2 * n + 1] < 0) return -1;
    return from + 1;
}

int TRegexEngine::MatchLength(int n) const {
    if (n < 0 || n > kRegexMaxGroups || !m_input) return -1;
    const std::int32_t from = m_slots[2 * n];
    const std::int32_t to = m_slots[2 * n + 1];
    if (from < 0 || to < 0) return -1;
    return to - from;
}

std::u16string TRegexEngine::ExpandTemplate(std::u16string_view tpl) const {
    const std::u16string_view text =
        m_input ? std::u16string_view(*m_input) : std::u16string_view();
    return ExpandRegexTemplate(tpl, text, m_slots);
}

}  // namespace tessaro
