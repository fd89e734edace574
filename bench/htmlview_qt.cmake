# The view widget with the installed fonts: the complete load of the page of
# every DMC colour, and painting one screenful of it.
if(TALMEKO_GUI)
  talmeko_bench(htmlview_widget_bench SOURCES htmlview_widget_bench.cpp
    DEPS talmeko_htmlview_ui talmeko_report Qt6::Widgets)
endif()
