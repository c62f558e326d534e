# Writes the bundle's Contents/Resources/moduleinfo.json, from which hosts list
# the plug-in without loading it, in the layout the VST 3 SDK's module-info
# tool writes. The names, versions and class IDs are read from the headers the
# factory is built from; the rest mirrors entry/factory.cpp.
#
#   cmake -DVERSION_HEADER=params/version.h -DIDS_HEADER=params/ids.h -DOUTPUT=<file> -P ModuleInfo.cmake

foreach(input VERSION_HEADER IDS_HEADER OUTPUT)
  if(NOT ${input})
    message(FATAL_ERROR "ModuleInfo.cmake needs -D${input}=...")
  endif()
endforeach()

# constexpr const char* kName = "text";
file(STRINGS "${VERSION_HEADER}" lines REGEX "constexpr const char\\* k[A-Za-z]+ = \"[^\"]*\"")
foreach(line ${lines})
  string(REGEX MATCH "(k[A-Za-z]+) = \"([^\"]*)\"" unused "${line}")
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
foreach(name kProductName kControllerName kVendor kVendorUrl kVendorEmail kVersion kSdkVersion kSubCategories)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "${VERSION_HEADER} defines no ${name}")
  endif()
endforeach()

# A class ID as the module-info tool spells it: its 16 bytes in memory order.
file(READ "${IDS_HEADER}" ids)
function(read_uid name result)
  string(REGEX MATCH "${name} = {[^}]*}" block "${ids}")
  string(REGEX MATCHALL "0x[0-9A-Fa-f][0-9A-Fa-f]" bytes "${block}")
  list(LENGTH bytes count)
  if(NOT count EQUAL 16)
    message(FATAL_ERROR "${IDS_HEADER}: ${name} has ${count} bytes, not 16")
  endif()
  string(REPLACE "0x" "" hex "${bytes}")
  string(REPLACE ";" "" hex "${hex}")
  string(TOUPPER "${hex}" hex)
  set(${result} "${hex}" PARENT_SCOPE)
endfunction()
read_uid(kProcessorUID processorCid)
read_uid(kControllerUID controllerCid)

function(json_string text result)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${result} "\"${text}\"" PARENT_SCOPE)
endfunction()

# "Fx|Spatial" -> the array entries, one per line.
function(json_sub_categories text indent result)
  if(text STREQUAL "")
    set(${result} "[]" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "|" ";" parts "${text}")
  set(entries "")
  foreach(part ${parts})
    json_string("${part}" quoted)
    list(APPEND entries "${indent}  ${quoted}")
  endforeach()
  string(REPLACE ";" ",\n" entries "${entries}")
  set(${result} "[\n${entries}\n${indent}]" PARENT_SCOPE)
endfunction()

# Classes name no vendor of their own: the factory's applies.
function(json_class cid category name flags subCategories result)
  json_string("${cid}" cidText)
  json_string("${category}" categoryText)
  json_string("${name}" nameText)
  json_string("${kVendor}" vendorText)
  json_string("${kVersion}" versionText)
  json_string("${kSdkVersion}" sdkText)
  json_sub_categories("${subCategories}" "      " subText)
  set(${result} "    {
      \"CID\": ${cidText},
      \"Category\": ${categoryText},
      \"Name\": ${nameText},
      \"Vendor\": ${vendorText},
      \"Version\": ${versionText},
      \"SDKVersion\": ${sdkText},
      \"Sub Categories\": ${subText},
      \"Class Flags\": ${flags},
      \"Cardinality\": 2147483647,
      \"Snapshots\": []
    }" PARENT_SCOPE)
endfunction()

json_class("${processorCid}" "Audio Module Class" "${kProductName}" 1 "${kSubCategories}" processorClass)
json_class("${controllerCid}" "Component Controller Class" "${kControllerName}" 0 "" controllerClass)
json_string("${kProductName}" productText)
json_string("${kVersion}" versionText)
json_string("${kVendor}" vendorText)
json_string("${kVendorUrl}" urlText)
json_string("${kVendorEmail}" emailText)

set(json "{
  \"Name\": ${productText},
  \"Version\": ${versionText},
  \"Factory Info\": {
    \"Vendor\": ${vendorText},
    \"URL\": ${urlText},
    \"E-Mail\": ${emailText},
    \"Flags\": {
      \"Unicode\": true,
      \"Classes Discardable\": false,
      \"Component Non Discardable\": false
    }
  },
  \"Compatibility\": [],
  \"Classes\": [
${processorClass},
${controllerClass}
  ]
}
")
# Rewritten only when it changes, so the bundle's time stamps stay put.
file(WRITE "${OUTPUT}.new" "${json}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
