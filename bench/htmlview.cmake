# Loading the result page of every DMC colour into the view's engine.
talmeko_bench(htmlview_bench SOURCES htmlview_bench.cpp counting_allocator.cpp DEPS talmeko_htmlview talmeko_report)
