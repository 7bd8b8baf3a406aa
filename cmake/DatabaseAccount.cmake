# The console's built-in database account belongs to the deployment: a venue
# configures its own with -DLYRABOX_DB_USER=... -DLYRABOX_DB_PASSWORD=...
# The defaults below are for the demo and the tests only.
set(LYRABOX_DB_USER "lyrabox_console1" CACHE STRING
    "Built-in database account name (exactly 16 characters)")
set(LYRABOX_DB_PASSWORD "Demo.Only-Set.Your.Own-Per.Venue-2026" CACHE STRING
    "Built-in database account password (exactly 37 characters)")

string(LENGTH "${LYRABOX_DB_USER}" _lyrabox_user_length)
string(LENGTH "${LYRABOX_DB_PASSWORD}" _lyrabox_password_length)
if(NOT _lyrabox_user_length EQUAL 16)
    message(FATAL_ERROR "LYRABOX_DB_USER must be exactly 16 characters, not ${_lyrabox_user_length}")
endif()
if(NOT _lyrabox_password_length EQUAL 37)
    message(FATAL_ERROR
        "LYRABOX_DB_PASSWORD must be exactly 37 characters, not ${_lyrabox_password_length}")
endif()
foreach(_value IN ITEMS "${LYRABOX_DB_USER}" "${LYRABOX_DB_PASSWORD}")
    if(_value MATCHES "[\"'\\\\;=]")
        message(FATAL_ERROR "The database account may not contain quotes, backslashes, ';' or '='")
    endif()
endforeach()

# Read by scripts/mariadb-server.sh to create the account on a private server.
file(WRITE ${CMAKE_BINARY_DIR}/db/account.env
    "LYRABOX_DB_USER='${LYRABOX_DB_USER}'\nLYRABOX_DB_PASSWORD='${LYRABOX_DB_PASSWORD}'\n")
