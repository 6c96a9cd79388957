# Turns a UTF-8 text file into a GBK text file with CR LF line ends:
#   cmake -DIN=<utf-8 file> -DOUT=<gbk file> -P gbk_text.cmake
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.utf8" "${text}")
execute_process(COMMAND iconv -f UTF-8 -t GBK "${OUT}.utf8"
  OUTPUT_FILE "${OUT}" RESULT_VARIABLE result ERROR_VARIABLE error)
file(REMOVE "${OUT}.utf8")
if(NOT result EQUAL 0)
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "cannot convert ${IN} to GBK: ${error}")
endif()
