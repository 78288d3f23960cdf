# Every source file of the tree, by the target that builds it, relative to
# the repository root. A new file goes into one of these lists; the test
# source_lists (cmake/CheckSourceLists.cmake) fails on a file in none.
#
# Public headers are installed below include/sextant; internal headers are
# compiled with their library but never installed.

# ---- Engine (standard library and the platform/ interfaces only) ----------
set(SEXTANT_ENGINE_SOURCES
  axes/axis_date_time.cpp
  axes/axis_draw.cpp
  axes/axis_increment.cpp
  axes/axis_label_format.cpp
  axes/axis_labels.cpp
  axes/axis_log.cpp
  axes/axis_math.cpp
  axes/axis_room.cpp
  axes/chart_axis.cpp
  axes/date_time.cpp
  axes/decimal_digits.cpp
  axes/exponent_text.cpp
  axes/format_pattern.cpp
  axes/value_format.cpp
  canvas/automatic_text.cpp
  canvas/brush.cpp
  canvas/canvas3d.cpp
  canvas/corners.cpp
  canvas/font.cpp
  canvas/gradient.cpp
  canvas/kel_canvas.cpp
  canvas/kel_component.cpp
  canvas/line_batch_canvas.cpp
  canvas/pen.cpp
  canvas/shadow.cpp
  canvas/shape.cpp
  canvas/text_selection.cpp
  canvas/text_shape.cpp
  marks/mark_positions.cpp
  marks/marks_layout.cpp
  marks/series_marks.cpp
  marks/series_pointer.cpp
  panel/axis_panel.cpp
  panel/chart_walls3d.cpp
  panel/custom_chart.cpp
  panel/custom_chart_mouse.cpp
  panel/kel_panel.cpp
  panel/kel_panel_extended.cpp
  panel/legend.cpp
  panel/titles.cpp
  panel/walls.cpp
  panel/zoom_panning.cpp
  platform/host_canvas.cpp
  platform/ini_settings_store.cpp
  platform/platform_services.cpp
  platform/recording_canvas.cpp
  series/area_series.cpp
  series/bar_series.cpp
  series/chart_element.cpp
  series/chart_series.cpp
  series/chart_value_list.cpp
  series/custom_series.cpp
  series/fast_line_series.cpp
  series/horiz_bar_series.cpp
  series/kel_random.cpp
  series/labels_list.cpp
  series/line_series.cpp
  series/lod_index.cpp
  series/point_series.cpp
  series/ring_window.cpp
  series/segment_hit.cpp
  series/series_depth.cpp
  series/series_stack.cpp
  tools/axis_scroll_bar.cpp
  tools/chart_tool.cpp
  tools/thumb_bitmaps.cpp)
set(SEXTANT_ENGINE_HEADERS
  axes/axis_label_style.h
  axes/axis_labels.h
  axes/chart_axis.h
  axes/date_time.h
  axes/exponent_text.h
  axes/format_pattern.h
  axes/value_format.h
  canvas/automatic_text.h
  canvas/brush.h
  canvas/canvas3d.h
  canvas/corners.h
  canvas/element_gone.h
  canvas/font.h
  canvas/gradient.h
  canvas/kel_canvas.h
  canvas/kel_component.h
  canvas/kel_exceptions.h
  canvas/kel_persistent.h
  canvas/kel_units.h
  platform/kel_types.h
  canvas/pen.h
  canvas/shadow.h
  canvas/shape.h
  canvas/shape_panel.h
  canvas/text_selection.h
  canvas/text_shape.h
  marks/mark_positions.h
  marks/series_marks.h
  marks/series_pointer.h
  panel/axis_panel.h
  panel/chart.h
  panel/chart_hover.h
  panel/custom_chart.h
  panel/kel_event.h
  panel/kel_panel.h
  panel/kel_panel_extended.h
  panel/legend.h
  panel/titles.h
  panel/walls.h
  panel/zoom_panning.h
  platform/host_canvas.h
  platform/host_control.h
  platform/ini_settings_store.h
  platform/manual_timer.h
  platform/platform_services.h
  series/area_series.h
  series/bar_series.h
  series/chart_element.h
  series/chart_series.h
  series/chart_value_list.h
  series/custom_series.h
  series/fast_line_series.h
  series/finite_point.h
  series/horiz_bar_series.h
  series/kel_random.h
  series/labels_list.h
  series/line_series.h
  series/lod_index.h
  series/point_series.h
  series/ring_window.h
  series/series_stack.h
  series/value_changes.h
  series/value_storage.h
  tools/axis_scroll_bar.h
  tools/chart_tool.h)
# Implementation details, the recording canvas (a host canvas without a
# window, also drawing the scroll bar's thumb bitmaps) and the stand-in host
# control of the tests, fuzz targets and benchmarks.
set(SEXTANT_ENGINE_INTERNAL_HEADERS
  axes/decimal_digits.h
  platform/recording_canvas.h
  platform/stand_in_host.h
  canvas/line_batch_canvas.h
  axes/axis_math.h
  axes/decimal_digits.h
  series/kel_sort.h
  series/segment_hit.h
  tools/thumb_bitmaps.h)

# ---- Qt host ----------------------------------------------------------------
set(SEXTANT_QT_SOURCES
  platform/qt/chart_export.cpp
  platform/qt/chart_input.cpp
  platform/qt/chart_render.cpp
  platform/qt/chart_view.cpp
  platform/qt/chart_widget.cpp
  platform/qt/qt_application.cpp
  platform/qt/qt_bitmap.cpp
  platform/qt/qt_canvas.cpp
  platform/qt/qt_conversions.cpp
  platform/qt/qt_crisp_lines.cpp
  platform/qt/qt_image.cpp
  platform/qt/qt_services.cpp
  platform/qt/qt_stroke.cpp
  platform/qt/qt_text_layout.cpp)
set(SEXTANT_QT_HEADERS
  platform/qt/chart_export.h
  platform/qt/chart_input.h
  platform/qt/chart_render.h
  platform/qt/chart_view.h
  platform/qt/chart_widget.h
  platform/qt/qt_application.h
  platform/qt/qt_canvas.h
  platform/qt/qt_services.h)
# The parts of the Qt canvas behind its public header.
set(SEXTANT_QT_INTERNAL_HEADERS
  platform/qt/qt_conversions_p.h
  platform/qt/qt_crisp_lines_p.h
  platform/qt/qt_pending_fill_p.h
  platform/qt/qt_image_p.h
  platform/qt/qt_stroke_p.h
  platform/qt/qt_text_layout_p.h)

# ---- Qt Quick item (built where Qt Quick is installed) ------------------------
set(SEXTANT_QUICK_SOURCES
  platform/qt/quick/chart_quick_item.cpp)
set(SEXTANT_QUICK_HEADERS
  platform/qt/quick/chart_quick_item.h)

# ---- The demo program -------------------------------------------------------
set(SEXTANT_APP_SOURCES
  app/app.qrc
  app/form_reader.cpp
  app/form_reader.h
  app/qt_form.cpp
  app/qt_form.h
  app/screenshot_format.cpp
  app/screenshot_format.h
  app/unit1.cpp
  app/unit1.h)
set(SEXTANT_APP_MAIN app/main.cpp)

# ---- Tests (one executable per *_test.cpp) -----------------------------------
set(SEXTANT_UNIT_TESTS
  tests/unit/axis_date_time_test.cpp
  tests/unit/axis_increment_test.cpp
  tests/unit/axis_label_format_test.cpp
  tests/unit/axis_labels_test.cpp
  tests/unit/axis_log_test.cpp
  tests/unit/axis_math_test.cpp
  tests/unit/axis_panel_test.cpp
  tests/unit/area_series_test.cpp
  tests/unit/axis_scroll_bar_test.cpp
  tests/unit/bad_input_test.cpp
  tests/unit/bar_series_test.cpp
  tests/unit/bulk_load_test.cpp
  tests/unit/canvas_primitives_test.cpp
  tests/unit/canvas_state_test.cpp
  tests/unit/canvas_text_test.cpp
  tests/unit/chart_axis_test.cpp
  tests/unit/chart_series_test.cpp
  tests/unit/chart_tool_test.cpp
  tests/unit/paint_removal_test.cpp
  tests/unit/chart_value_list_test.cpp
  tests/unit/fast_line_equivalence_test.cpp
  tests/unit/exponent_text_test.cpp
  tests/unit/fast_line_test.cpp
  tests/unit/font_test.cpp
  tests/unit/gradient_test.cpp
  tests/unit/ini_settings_store_test.cpp
  tests/unit/input_soak_test.cpp
  tests/unit/kel_panel_test.cpp
  tests/unit/kel_random_test.cpp
  tests/unit/kel_types_test.cpp
  tests/unit/labels_list_test.cpp
  tests/unit/legend_test.cpp
  tests/unit/line_batch_test.cpp
  tests/unit/line_series_test.cpp
  tests/unit/lod_index_test.cpp
  tests/unit/marks_layout_test.cpp
  tests/unit/marks_model_test.cpp
  tests/unit/non_finite_data_test.cpp
  tests/unit/non_finite_line_test.cpp
  tests/unit/ordered_insertion_test.cpp
  tests/unit/paging_test.cpp
  tests/unit/palette_test.cpp
  tests/unit/pen_test.cpp
  tests/unit/point_series_test.cpp
  tests/unit/recording_canvas_test.cpp
  tests/unit/ring_window_test.cpp
  tests/unit/sample_values_test.cpp
  tests/unit/series_kinds_alloc_test.cpp
  tests/unit/shadow_test.cpp
  tests/unit/shape_test.cpp
  tests/unit/text_shape_test.cpp
  tests/unit/titles_test.cpp
  tests/unit/value_format_test.cpp
  tests/unit/view3d_canvas_test.cpp
  tests/unit/view3d_chart_test.cpp
  tests/unit/visible_range_test.cpp
  tests/unit/walls_test.cpp
  tests/unit/zoom_panning_test.cpp)
set(SEXTANT_UNIT_TEST_SUPPORT
  tests/unit/canvas_fixture.h
  tests/unit/chart_fixture.h
  tests/unit/chart_layout_fixture.h
  tests/unit/kinds_fixture.h
  tests/unit/marks_fixture.h
  tests/unit/series_fixture.h
  tests/unit/shape_test_support.h
  tests/unit/stand_in_hosts.h)
set(SEXTANT_QT_TESTS
  tests/qt/chart_export_test.cpp
  tests/qt/chart_render_test.cpp
  tests/qt/chart_view_hidpi_test.cpp
  tests/qt/chart_view_test.cpp
  tests/qt/chart_widget_test.cpp
  tests/qt/form_reader_limits_test.cpp
  tests/qt/form_reader_test.cpp
  tests/qt/main_form_test.cpp
  tests/qt/qt_application_test.cpp
  tests/qt/qt_canvas_aliased_test.cpp
  tests/qt/qt_canvas_test.cpp
  tests/qt/qt_connected_lines_test.cpp
  tests/qt/qt_crisp_lines_test.cpp
  tests/qt/qt_crisp_outlines_test.cpp
  tests/qt/qt_held_fill_test.cpp
  tests/qt/qt_text_layout_cache_test.cpp
  tests/qt/series_kinds_render_test.cpp
  tests/qt/view3d_render_test.cpp
  tests/qt/widget_soak_test.cpp)
set(SEXTANT_QUICK_TESTS
  tests/quick/chart_quick_item_test.cpp)
set(SEXTANT_QT_TEST_SUPPORT
  tests/qt/qt_image_compare.h
  tests/qt/qt_test_app.h)
set(SEXTANT_ORACLE_TESTS
  tests/oracle/icu_format_oracle_test.cpp)
set(SEXTANT_E2E_OFFSCREEN_TEST tests/e2e/chartdemo_e2e_test.cpp)
set(SEXTANT_E2E_XVFB_TEST tests/e2e/xvfb_e2e_test.cpp)

# ---- Fuzz targets: fuzz/<name>.cpp, with <name>_EXTRA beyond the engine ------
set(SEXTANT_FUZZ_TARGETS
  fuzz_axis
  fuzz_fast_line_lod
  fuzz_form_reader
  fuzz_input_events
  fuzz_settings_store
  fuzz_value_format
  fuzz_value_list)
set(fuzz_form_reader_EXTRA app/form_reader.cpp)
set(SEXTANT_FUZZ_SUPPORT
  fuzz/fuzz_chart_support.h
  fuzz/fuzz_support.h
  fuzz/replay_main.cpp)

# ---- Benchmarks ---------------------------------------------------------------
set(SEXTANT_BENCH_SOURCES
  bench/bench_main.cpp bench/bench_walk.cpp bench/bench_data.cpp bench/engine_bench.cpp
  bench/bench_data.h bench/bench_walk.h)
set(SEXTANT_BENCH_QT_SOURCES bench/qt_paint_bench.cpp)
set(SEXTANT_BENCH_PEERS_SOURCES
  bench/peers/qt6_peers_main.cpp bench/peers/qt6_peers_bench.cpp bench/peers/peer_common.cpp
  bench/peers/qcustomplot_bench.cpp bench/peers/peer_common.h bench/bench_walk.cpp bench/bench_data.cpp)
set(SEXTANT_BENCH_PEERS_QT5_SOURCES
  bench/peers/qt5/qt5_peers_main.cpp bench/peers/qt5/qwt_bench.cpp bench/peers/peer_common.cpp
  bench/peers/qcustomplot_bench.cpp bench/bench_walk.cpp)
