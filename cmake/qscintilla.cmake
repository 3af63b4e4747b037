# The edit control is the QScintilla copy embedded in third_party/qscintilla (with our changes to
# its text measurement), built here as the static target QScintilla::QScintilla.
add_subdirectory(${PROJECT_SOURCE_DIR}/third_party/qscintilla ${PROJECT_BINARY_DIR}/third_party/qscintilla
  EXCLUDE_FROM_ALL)
