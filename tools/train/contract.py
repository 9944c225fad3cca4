"""Input contract of the two analysis models: names and order of the features.

Mirrors the tables the engine feeds the models with (track classifier and
action model). The feature CSVs written by rallinox-analyze carry these names
as column headers; training checks them against this order.
"""

TRACK_FEATURES = [
    "Duration", "Mean_W", "Mean_H", "Mean_Aspect_Ratio", "Std_W", "Std_H",
    "Std_Aspect_Ratio", "Distance_Traveled_X", "Distance_Traveled_Y",
    "Mean_Speed", "Max_Speed", "Std_Speed", "Mean_Accel", "Max_Accel",
    "Std_Accel", "Aspect_Ratio_Stability", "Cumulative_Angular_Change",
    "Mean_Angular_Change", "Angular_Variance", "Mean_Displacement_X",
    "Mean_Displacement_Y", "Std_Displacement_X", "Std_Displacement_Y",
    "Grid_Y_Percentile", "Mean_Dist_To_1st", "Mean_Dist_To_2nd",
    "Mean_Dist_To_3rd", "Mean_Neighbors_In_Radius_Small",
    "Mean_Neighbors_In_Radius_Large", "Vx_Reversals", "Vy_Reversals",
    "Max_X_Displacement", "Max_Y_Displacement", "Peak_Relative_Time",
    "Circular_Frames_Ratio", "Start_X", "Start_Y", "End_X", "End_Y", "Mean_X",
    "Mean_Y", "Std_Vx", "Std_Vy", "Std_Ax", "Std_Ay", "Std_Area", "Min_X",
    "Max_X", "Min_Y", "Max_Y", "Mean_Relative_Y", "Max_Relative_Y",
    "Mean_Relative_X", "Max_Relative_X", "Mean_Relative_Area",
    "Max_Relative_Area", "Mean_Relative_Speed", "Max_Relative_Speed",
    "Heading_Spikes", "Rms_Angular_Change", "Mean_Path_Efficiency_10",
    "Std_Path_Efficiency_10", "Mean_Step_Distance", "Std_Step_Distance",
    "Interpolation_Ratio",
]

WINDOW_FEATURES = [
    "Is_Ball_Active", "Inside_Run", "Current_Run_Duration",
    "Frames_Since_Run_Start", "Frames_To_Run_End", "Time_Since_Prev_Run",
    "Time_To_Next_Run", "Gap_Duration", "Gap_Distance", "Run_Start_X",
    "Run_Start_Y", "Run_Start_Vx", "Run_Start_Vy", "Run_Start_Upward",
    "Window2s_Ball_Ratio", "Window2s_Mean_Speed", "Window2s_Max_Speed",
    "Window2s_Std_Speed", "Window2s_Std_X", "Window2s_Std_Y",
    "Window2s_Mean_Y", "Window2s_Max_Y_Disp",
]

assert len(TRACK_FEATURES) == 65 and len(WINDOW_FEATURES) == 22
