@echo off
call "C:/VS/2022/Community/VC/Auxiliary/Build/vcvars64.bat"
cl /DUDF_EXPORTING /c /MDd ^
/I"@ROOT@/ANSYS Inc/v192/fluent/fluent19.2.0/win64/3ddp" ^
/I"@ROOT@/ANSYS Inc/v192/fluent/fluent19.2.0/src/main" ^
/I"@ROOT@/ANSYS Inc/v192/fluent/fluent19.2.0/cortex/src" ^
/I"@ROOT@/ANSYS Inc/v192/fluent/include" ^
"@ROOT@/p/buildByVarnholt/3ddp/udf_names.c" /Fo"@ROOT@/p/buildByVarnholt/3ddp/udf_names.obj"