# Text widths of the job list columns (characters).
JobMultiList.ColumnWidth1 = 4
JobMultiList.ColumnWidth2 = 24
JobMultiList.ColumnWidth3 = 10
JobMultiList.ColumnWidth4 = 12
JobMultiList.ColumnWidth5 = 30
JobMultiList.ColumnWidth6 = 8
JobMultiList.ColumnWidth7 = 16
JobMultiList.ColumnWidth8 = 4
