# Stands in for a check's tool when the tool is not installed.
message(FATAL_ERROR "${TOOL} is not installed (Debian package ${PACKAGE}); run scripts/install-deps")
