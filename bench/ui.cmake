# Times the arguments view's rebuild on large trees, on Qt's offscreen platform.
if(KORVANE_BUILD_UI)
  add_executable(korvane-bench-ui showarguments_bench.cpp)
  target_link_libraries(korvane-bench-ui PRIVATE korvane::ui benchmark::benchmark)
endif()
# Times the diagram's layout and drawing of a stage with a thousand statements and steps.
if(KORVANE_BUILD_UI)
  add_executable(korvane-bench-diagram diagram_bench.cpp)
  target_link_libraries(korvane-bench-diagram PRIVATE korvane::ui benchmark::benchmark)
endif()
