#!/usr/bin/env python3
"""tools/check-sizes.py: what counts as a code line, and where each function
starts and ends, in the shapes the program's sources take."""
import importlib.util
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
script = importlib.util.spec_from_file_location(
    "check_sizes", os.path.join(HERE, "..", "..", "tools", "check-sizes.py"))
sizes = importlib.util.module_from_spec(script)
script.loader.exec_module(sizes)

SOURCE = r'''#include "a.h"

// A comment { that opens nothing.
namespace tempodial {
namespace {

/* a block
   comment */
const char* kBraces = "}{ // not a comment";
const Case kCases[] = {
    {"a", 1},
    {"b", 2},
};
auto kept = [](int x) {
  return x;
};

}  // namespace

class Box {
 public:
  int width() const { return width_; }
  Box& operator=(const Box& other) {
    width_ = other.width_;
    return *this;
  }

 private:
  int width_{0};
};

Form::Form(Host& host)
    : host_(host),
      list_{1, 2},
      client_(new QWidget(this)) {
  if (ready) {
    run([this] { go(); });
  }
}

auto twice(int x) -> int {
  const char* text = R"(})";
  return 2 * x;
}

}  // namespace tempodial
'''


class MeasureTest(unittest.TestCase):
    def test_each_function_from_its_signature_to_its_brace_in_code_lines(self):
        with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as file:
            file.write(SOURCE)
        try:
            lines, functions = sizes.measure(file.name)
        finally:
            os.unlink(file.name)
        # Everything but the blank lines and the lines of comments alone.
        self.assertEqual(lines, 35)
        self.assertEqual(functions, [
            (22, "width", 1),
            (23, "operator=", 4),
            (32, "Form::Form", 8),
            (41, "twice", 4),
        ])


if __name__ == "__main__":
    unittest.main()
