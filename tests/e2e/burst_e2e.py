# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: copies in bursts faster than one run per 175 ms, with an action that writes
back. The last copy of every burst is captured and processed, and no copy of the user is
ever replaced by a write-back of an older one. --copies sets how many copies in all (the
test suite runs a reduced number; 500 is the full size)."""

import random
import sys
import time

from harness import ProgramTest, run_tests, wait_until


class Bursts(ProgramTest):
    copies = 120

    def test_the_last_copy_of_every_burst_is_processed_and_none_is_overwritten(self):
        self.click("cb_textadd")
        self.type_into("act_textadd_vorne", "<<")
        time.sleep(0.5)
        rng = random.Random(4711)
        made = 0
        burst_number = 0
        while made < self.copies:
            size = min(rng.randint(1, 6), self.copies - made)
            texts = [f"burst {burst_number} copy {i} {rng.random():.6f}" for i in range(size)]
            for i, text in enumerate(texts):
                if i:
                    time.sleep(rng.uniform(0.0, 0.2))
                self.clipboard.put(text)
            last = texts[-1]
            made += size
            burst_number += 1

            def settled():
                history = self.app.history()
                pasted = self.clipboard.get().decode("utf-8")
                return history and history[-1][2] == last and pasted == "<<" + last and history

            try:
                history = wait_until(settled, timeout=5, what="the last copy of the burst, processed")
            except AssertionError:
                raise AssertionError(f"burst {burst_number}: the clipboard holds {self.clipboard.get()!r}, "
                                     f"the last row is {self.app.history()[-1:]!r}, not {last!r}") from None
            copied = set(texts)
            for row in history:
                self.assertFalse(row[2].startswith("<<"), f"a write-back was captured as a copy: {row[2]!r}")
            self.assertIn(last, [row[2] for row in history if row[2] in copied])
            # Nothing changes once the burst has settled: no late write-back over it.
            time.sleep(0.3)
            self.assertEqual(self.clipboard.get().decode("utf-8"), "<<" + last)
        self.assertEqual(self.app.state()["suppressCount"], 0)


if __name__ == "__main__":
    if "--copies" in sys.argv:
        at = sys.argv.index("--copies")
        Bursts.copies = int(sys.argv[at + 1])
        del sys.argv[at:at + 2]
    run_tests()
