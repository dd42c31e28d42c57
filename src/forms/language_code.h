// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language is the caption of the start window's hidden label `spr`: "de"
// or "en". Texts are chosen at the moment they are needed, by this one test.
#pragma once

#include "forms/text_controls.h"

namespace tessaro {

inline bool IsGerman(const Label& spr) { return spr.caption() == u"de"; }

}  // namespace tessaro
