# The maker's web site: one build setting. Every address the programs hold
# (update document, web pages, install report, support e-mail) is derived from
# it, and the site's files are copied to <build>/site with it filled in.
# https by default: the certificate is checked as the system checks it. An
# http site still builds, for a maker without a certificate (README.md says
# what that costs).
set(VELMORA_MAKER_SITE "https://www.quillfen.example" CACHE STRING
    "The maker's web site: scheme and host, optionally a path; no trailing slash")
# A build folder configured before the default became https moves to it.
if(VELMORA_MAKER_SITE STREQUAL "http://www.quillfen.example")
  set(VELMORA_MAKER_SITE "https://www.quillfen.example" CACHE STRING
      "The maker's web site: scheme and host, optionally a path; no trailing slash" FORCE)
endif()
if(NOT VELMORA_MAKER_SITE MATCHES "^https?://[A-Za-z0-9.-]+(:[0-9]+)?(/[^ \"\\\\]*[^/ \"\\\\])?$")
  message(FATAL_ERROR "VELMORA_MAKER_SITE must look like https://host or https://host/path")
endif()
if(VELMORA_MAKER_SITE MATCHES "^http:")
  message(WARNING "VELMORA_MAKER_SITE is plain http: anyone on the network path can answer "
                  "the update check and read the installation reports")
endif()
string(REGEX REPLACE "^https?://([^:/]+).*$" "\\1" velmora_maker_host "${VELMORA_MAKER_SITE}")
# Mail goes to the host's domain: www.example.org gives support@example.org.
string(REGEX REPLACE "^www\\." "" VELMORA_MAKER_MAIL_DOMAIN "${velmora_maker_host}")

set(velmora_generated_dir ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/maker_site.h.in
               ${velmora_generated_dir}/velmora/maker_site.h @ONLY)
add_library(velmora_maker_site INTERFACE)
target_include_directories(velmora_maker_site INTERFACE ${velmora_generated_dir})

set(VELMORA_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set(velmora_default_site "https://www.quillfen.example")
set(velmora_default_mail_domain "quillfen.example")
file(GLOB_RECURSE velmora_site_files RELATIVE ${PROJECT_SOURCE_DIR}/web/site
     ${PROJECT_SOURCE_DIR}/web/site/*)
foreach(site_file IN LISTS velmora_site_files)
  set(source ${PROJECT_SOURCE_DIR}/web/site/${site_file})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} content)
  string(REPLACE "${velmora_default_site}" "@SITE@" content "${content}")
  string(REPLACE "@${velmora_default_mail_domain}" "@${VELMORA_MAKER_MAIL_DOMAIN}" content
         "${content}")
  string(REPLACE "@SITE@" "${VELMORA_MAKER_SITE}" content "${content}")
  # file(READ) drops carriage returns; files with CR LF lines get them back.
  file(READ ${source} hex HEX)
  string(FIND "${hex}" "0d0a" crlf)
  if(crlf EQUAL -1)
    file(WRITE ${VELMORA_SITE_DIR}/${site_file} "${content}")
  else()
    string(REPLACE "@" "@velmora_at@" content "${content}")
    set(velmora_at "@")
    file(CONFIGURE OUTPUT ${VELMORA_SITE_DIR}/${site_file} CONTENT "${content}" @ONLY
         NEWLINE_STYLE CRLF)
  endif()
endforeach()
