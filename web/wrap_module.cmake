# Wraps the linked module in one function, tortuvalModule(Module), that a page calls at once as
# it loads the script, and that the page calls again in a worker to check programs off its own
# thread: a function's text is its source, so the worker gets the module without the page
# reading a file (a page opened from file:// may not).
# cmake -DMODULE=<tortuval-module.js> -P wrap_module.cmake, after each link.
file(READ "${MODULE}" body)
file(WRITE "${MODULE}"
  "function tortuvalModule(Module) {\n${body}\n}\n"
  "if (typeof document !== \"undefined\") tortuvalModule(Module);\n")
