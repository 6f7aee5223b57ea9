#include "python/python_program.h"

#include "python/program_writer.h"

namespace tortuval::python {

PythonProgram WritePython(const algorithm::AlgorithmDocument& document, std::string_view name) {
  return ProgramWriter(document, name).Write();
}

}  // namespace tortuval::python
