# The main window's whole-table operations, up to the page handed to the view.
talmeko_bench(app_bench SOURCES app_bench.cpp DEPS talmeko_app)
