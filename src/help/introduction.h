// SPDX-License-Identifier: GPL-3.0-or-later
// The introduction to the program in both interface languages: one topic for each of the
// six actions, the history, switching capture off and on, and configuration files, each
// with a small example, put together as one rich-text page.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tessaro {

struct IntroTopic {
    std::string_view id;          // the page anchor; the same in both languages
    std::u16string_view title;
    std::u16string_view body;     // rich text of our own (HTML), trusted as it stands
    std::u16string_view example;  // plain text; escaped when the page is made
};

// The topics in the order the page shows them: the six actions as the actions area lists
// them, then the history, capture on and off, and configurations.
std::span<const IntroTopic> IntroTopics(bool german);

// The whole page as HTML for a rich-text view: heading, a short lead, a list of links to
// the topics, and the topics with their examples.
std::u16string IntroductionHtml(bool german);

}  // namespace tessaro
