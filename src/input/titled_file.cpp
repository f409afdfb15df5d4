#include "input/titled_file.hpp"

namespace irteq {

TitledFile::TitledFile(std::istream& in, const std::string& name, const ReadOptions& options)
    : echo(options.echo), reader(in, name), warnings(options.warning, name) {
  if (!reader.read_line(title_line)) reader.fail("end of file where the title line was expected");
  warnings.warn_of_numeric_title(title_line);
}

}  // namespace irteq
