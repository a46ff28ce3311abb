src/vna_autogen/timestamp: \
  /work/main/src/CMakeLists.txt \
  /work/main/src/platform/clock.cpp \
  /work/main/src/platform/clock.h \
  /work/main/src/platform/draw.cpp \
  /work/main/src/platform/draw.h \
  /work/main/src/platform/events.cpp \
  /work/main/src/platform/events.h \
  /work/main/src/platform/testhook.cpp \
  /work/main/src/platform/testhook.h \
  /work/main/src/platform/ui_dialog.cpp \
  /work/main/src/platform/ui_window.cpp \
  /work/main/src/shell/main_program.cpp \
  /work/main/src/shell/main_program.h \
  /usr/bin/cmake
