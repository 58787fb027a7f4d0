# The image corpus of the decoder tests, written into the build tree by the project's own
# generator (valid files of every kind, one broken file per fault, and the pixels to expect).
set(PEMBORO_IMAGE_CORPUS_DIR ${CMAKE_BINARY_DIR}/imagecorpus)
file(GLOB PEMBORO_IMAGE_CORPUS_TOOL CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/imagecorpus/*.py)
add_custom_command(
  OUTPUT ${PEMBORO_IMAGE_CORPUS_DIR}/.corpus-stamp
  COMMAND ${PEMBORO_PYTHON} ${CMAKE_SOURCE_DIR}/tools/imagecorpus/imagecorpus.py --out ${PEMBORO_IMAGE_CORPUS_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${PEMBORO_IMAGE_CORPUS_DIR}/.corpus-stamp
  DEPENDS ${PEMBORO_IMAGE_CORPUS_TOOL}
  COMMENT "Generating the image corpus into ${PEMBORO_IMAGE_CORPUS_DIR}"
  VERBATIM)
add_custom_target(pemboro_image_corpus ALL DEPENDS ${PEMBORO_IMAGE_CORPUS_DIR}/.corpus-stamp)
