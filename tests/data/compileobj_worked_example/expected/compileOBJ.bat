@echo off
pushd "%KESTRUNE_VCVARS_DIR%"
call vcvars64.bat
popd
cl /DUDF_EXPORTING /c /MDd ^
/I"%KESTRUNE_INCLUDE_1%" ^
/I"%KESTRUNE_INCLUDE_2%" ^
/I"%KESTRUNE_INCLUDE_3%" ^
/I"%KESTRUNE_INCLUDE_4%" ^
"udf_names.c" /Fo"udf_names.obj"