#include "input/titled_file.hpp"

#include "common/fixed_width.hpp"

namespace irteq {

TitledFile::TitledFile(std::istream& in, const std::string& name, const ReadOptions& options)
    : echo(options.echo), reader(in, name), warnings(options, name) {
  if (!reader.read_line(title_line)) reader.fail("end of file where the title line was expected");
  warnings.warn_of_numeric_title(title_line);
}

void TitledFile::echo_title() const {
  echo.empty_line();
  echo.line(fixed_width_field(title_line, 0, 79));
}

}  // namespace irteq
