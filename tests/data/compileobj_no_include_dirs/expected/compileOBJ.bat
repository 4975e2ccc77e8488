@echo off
call "C:/VS/2019/Community//VC/Auxiliary/Build/vcvars64.bat"
cl /DUDF_EXPORTING /c /MDd ^
"@ROOT@/p/buildByVarnholt/3ddp/udf_names.c" /Fo"@ROOT@/p/buildByVarnholt/3ddp/udf_names.obj"