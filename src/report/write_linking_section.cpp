// The report's linking section, between the echo of the inputs and the
// results: every method's constants and criterion, the one applied, and the
// anchors' fit after it, in fixed fields as the rest of the report.
#include <string>

#include "common/fixed_field.hpp"
#include "report/report_sections.hpp"

namespace irteq {

void write_linking_section(const LinkingResult& result, const LineSink& line) {
  line({});
  line({});
  line("scale linking through common items");
  line({});
  line("theta on form y's scale = A * theta on form x's scale + B");
  line({});
  line(result.symmetric ? "method              A           B       criterion  steps   (criteria symmetric)"
                        : "method              A           B       criterion  steps");
  for (const MethodConstants& method : result.methods) {
    std::string text(linking_method_name(method.method));
    text.resize(14, ' ');
    if (!method.available()) {
      text += "not available: " + method.problem;
    } else {
      append_fixed(text, *method.A, 12, 6);
      append_fixed(text, *method.B, 12, 6);
      if (method.criterion && method.iterations) {
        append_fixed(text, *method.criterion, 16, 10);
        append_integer(text, *method.iterations, 7);
      }
    }
    line(text);
  }
  line({});
  line("applied: " + std::string(linking_method_name(result.applied)));
  line({});
  line({});
  line("anchor fit: root-mean-square difference of expected item scores over group 2");
  line({});
  line("x-item y-item  type     rmsd");
  for (const AnchorFit& anchor : result.anchors) {
    std::string text;
    append_integer(text, anchor.x_number, 6);
    append_integer(text, anchor.y_number, 7);
    append_text_right(text, item_code(anchor.model), 6);
    append_fixed(text, anchor.rmsd, 11, 6);
    line(text);
  }
}

}  // namespace irteq
