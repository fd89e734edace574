# The main window itself: whole-table operations until the page is in the view.
if(TALMEKO_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  talmeko_bench(app_window_bench SOURCES app_window_bench.cpp DEPS talmeko_app_ui Qt6::Widgets Qt6::Test)
endif()
