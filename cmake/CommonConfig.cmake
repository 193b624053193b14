# One interface target carries the flags every Tunovia target is built with.
add_library(tunovia_flags INTERFACE)
target_compile_features(tunovia_flags INTERFACE cxx_std_20)
target_compile_options(tunovia_flags INTERFACE -Wall -Wextra)
target_compile_definitions(tunovia_flags INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_FOREACH)
if(TUNOVIA_WERROR)
  target_compile_options(tunovia_flags INTERFACE -Werror)
endif()
if(TUNOVIA_SANITIZE)
  target_compile_options(tunovia_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tunovia_flags INTERFACE -fsanitize=address,undefined)
endif()
