# Benchmarks of the desktop program, on Qt's offscreen platform, sharing one main.
if(KORVANE_BUILD_UI)
  add_library(korvane_bench_qtmain STATIC qtmain.cpp)
  target_link_libraries(korvane_bench_qtmain PUBLIC korvane::ui benchmark::benchmark)
  # Times the arguments view's rebuild on large trees.
  add_executable(korvane-bench-ui showarguments_bench.cpp)
  # Times the diagram's layout and drawing of a stage with a thousand statements and steps.
  add_executable(korvane-bench-diagram diagram_bench.cpp)
  foreach(bench korvane-bench-ui korvane-bench-diagram)
    target_link_libraries(${bench} PRIVATE korvane_bench_qtmain)
  endforeach()
endif()
