# Reading and writing 16 MB settings files and colour sets of hostile content.
talmeko_bench(profile_bench SOURCES profile_bench.cpp counting_allocator.cpp DEPS talmeko_app)
