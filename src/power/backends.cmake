# Power back ends and the factory that picks one. The Windows algorithm and its Qt adapter build
# everywhere so their tests run on Linux too; only the real Win32 table needs Windows.
target_sources(tarvo_power PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dry_run_power.cpp
    ${CMAKE_CURRENT_LIST_DIR}/power_factory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows_power.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows_power_algorithm.cpp
)
if(WIN32)
    target_sources(tarvo_power PRIVATE ${CMAKE_CURRENT_LIST_DIR}/windows_power_win32.cpp)
    target_link_libraries(tarvo_power PRIVATE advapi32 user32 powrprof)
else()
    target_sources(tarvo_power PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/bus_link.cpp
        ${CMAKE_CURRENT_LIST_DIR}/dbus_call.cpp
        ${CMAKE_CURRENT_LIST_DIR}/logind_power.cpp
        ${CMAKE_CURRENT_LIST_DIR}/session_logout.cpp
    )
endif()
