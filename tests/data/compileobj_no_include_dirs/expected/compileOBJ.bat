@echo off
pushd "%KESTRUNE_VCVARS_DIR%"
call vcvars64.bat
popd
cl /DUDF_EXPORTING /c /MDd ^
"udf_names.c" /Fo"udf_names.obj"