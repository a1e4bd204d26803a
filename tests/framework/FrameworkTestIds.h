#pragma once

// Resource ids shared by the test dialog templates and the tests.
#define FullDialogId 100
#define OkOnlyDialogId 101
#define MissingDialogId 199

#define ListId 201
#define CheckId 202
#define EditId 203
#define ComboId 204
#define LabelId 205
