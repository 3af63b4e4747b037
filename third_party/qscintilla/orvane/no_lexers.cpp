// Orvane builds QScintilla without Scintilla's lexers (SCI_LEXER undefined): the document is
// plain text, styled by nobody. QsciScintillaBase still calls this at construction to keep the
// lexers linked in, so it is answered here with nothing to link.
#include "Scintilla.h"

int Scintilla_LinkLexers() { return 1; }
